// The one gate to the Windows headers. Every Win32 source of the program
// includes this file and no system header of its own, so the macros that
// shape the headers are set in one place.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef STRICT
#define STRICT
#endif

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <tlhelp32.h>
#include <wininet.h>
#include <winternl.h>
