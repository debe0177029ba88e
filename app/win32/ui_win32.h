// The window layer's operations offered to the portable routing.
#pragma once

// Makes the Win32 window layer the one the routing calls.
void installWin32Ui();
