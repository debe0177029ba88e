// What another program sees of Tavrin from outside: whether each of its
// top-level windows answers a sent message in time, how long a DDE
// client's broadcast takes, and the process's handles, objects and memory.
#pragma once
#include <string>

#include "tests/e2e/driver/support.h"

namespace driver {

// SendMessageTimeout(WM_NULL) with `limitMs` to every top-level window of
// the process, hidden ones included: LABEL.windows, LABEL.answered and
// LABEL.slowest_ms (the longest answer).
void answerProbe(DWORD processId, DWORD limitMs, Report& report, const std::string& label);

// A DDE client's connect to a service nobody offers, which sends the
// initiate to every top-level window and waits for each: LABEL.ms.
void ddeProbe(Report& report, const std::string& label);

// Handles, GDI and USER objects (0 where the system does not count them)
// and memory (working set and committed bytes, in KB) of the process:
// LABEL.handles, LABEL.gdi, LABEL.user, LABEL.working_kb, LABEL.private_kb.
void resourceProbe(HANDLE process, Report& report, const std::string& label);

}  // namespace driver
