// Which program a link came from, decided once when a copy starts: the
// owner of the window in front, unless that is the shell (the desktop,
// Explorer, a taskbar, the Start menu, a console) or Tavrin itself, in
// which case the program that started this copy. Hosts that carry other
// programs are looked through where the system tells which program they
// serve.
#pragma once
#include <string_view>

#include "common/source_program.h"
#include "platform/process_query.h"

// `ownPath` is this program's own path (another copy's window is Tavrin's
// too). None when the system tells nothing.
SourceProgram decideSourceProgram(platform::ProcessQuery& query, std::string_view ownPath);

// Whether a program's file name is one of the shell's, whose window in
// front says nothing of where a link came from.
bool isShellProgram(std::string_view name);
