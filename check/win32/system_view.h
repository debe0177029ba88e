// The Windows build's system view: the registry and the user's folders.
#pragma once
#include <memory>

#include "check/system_view.h"

std::unique_ptr<SystemView> windowsSystemView();
