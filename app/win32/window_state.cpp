// The main window's process-wide records.
#include "app/win32/window_state.h"

WindowState windowState;
InstanceState instanceState;
