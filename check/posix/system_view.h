// The native build's system view: no registry; the user's folders are the
// ones the environment variables LOCALAPPDATA and APPDATA name, so that a
// test or a user can point them at copies of a Windows profile's files.
#pragma once
#include <memory>

#include "check/system_view.h"

std::unique_ptr<SystemView> posixSystemView();
