// Which of the window's timers are armed.
#include "app/win32/armed_timers.h"

#include <array>

#include "app/win32/window_state.h"

namespace {

struct Armed {
    UINT_PTR id;
    bool armed;
};

// Every timer the window sets.
std::array<Armed, 2> timers{{{listMenuTimer, false}, {handOffTimer, false}}};

Armed* find(UINT_PTR id) {
    for (Armed& t : timers)
        if (t.id == id) return &t;
    return nullptr;
}

}  // namespace

void armTimer(HWND window, UINT_PTR id, UINT milliseconds) {
    Armed* timer = find(id);
    if (!timer) return;
    timer->armed = SetTimer(window, id, milliseconds, nullptr) != 0;
}

void disarmTimer(HWND window, UINT_PTR id) {
    KillTimer(window, id);
    if (Armed* timer = find(id)) timer->armed = false;
}

bool timerArmed(UINT_PTR id) {
    const Armed* timer = find(id);
    return timer && timer->armed;
}
