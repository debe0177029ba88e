// The "input" command: keys held and pressed, and mouse moves and clicks,
// sent the way Windows programs send them. Under Wine a modifier held for a
// menu choice must come this way: a key release sent with xdotool after
// the menu has closed is lost, and the key stays down.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tests/e2e/driver/menu_commands.h"
#include "tests/e2e/driver/menu_windows.h"

namespace driver {

namespace {

WORD virtualKey(const std::string& name) {
    struct Named {
        const char* name;
        WORD key;
    };
    static const Named keys[] = {
        {"shift", VK_SHIFT}, {"ctrl", VK_CONTROL}, {"space", VK_SPACE}, {"return", VK_RETURN},
        {"escape", VK_ESCAPE}, {"up", VK_UP}, {"down", VK_DOWN}, {"left", VK_LEFT},
        {"right", VK_RIGHT},
    };
    for (const Named& k : keys)
        if (name == k.name) return k.key;
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
        return static_cast<WORD>(std::toupper(static_cast<unsigned char>(name[0])));
    return 0;
}

bool sendKey(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, 0));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return SendInput(1, &input, sizeof input) == 1;
}

bool runStep(const std::string& step) {
    const std::size_t colon = step.find(':');
    if (colon == std::string::npos) return false;
    const std::string verb = step.substr(0, colon), what = step.substr(colon + 1);
    if (verb == "sleep") {
        Sleep(static_cast<DWORD>(std::atoi(what.c_str())));
        return true;
    }
    if (verb == "down" || verb == "up" || verb == "press") {
        const WORD key = virtualKey(what);
        if (!key) return false;
        if (verb == "press") return sendKey(key, false) && sendKey(key, true);
        return sendKey(key, verb == "up");
    }
    std::vector<int> at;
    if (!parseNumbers(what, at, 2)) return false;
    if (verb == "move") return sendMouse(0, at[0], at[1]);
    if (verb == "click")
        return sendMouse(0, at[0], at[1]) && sendMouse(MOUSEEVENTF_LEFTDOWN, at[0], at[1]) &&
               sendMouse(MOUSEEVENTF_LEFTUP, at[0], at[1]);
    if (verb == "rclick")
        return sendMouse(0, at[0], at[1]) && sendMouse(MOUSEEVENTF_RIGHTDOWN, at[0], at[1]) &&
               sendMouse(MOUSEEVENTF_RIGHTUP, at[0], at[1]);
    return false;
}

}  // namespace

int inputCommand(const Options& options) {
    for (const std::string& step : options.words) {
        if (!runStep(step)) {
            std::fprintf(stderr, "bad or failed step: %s\n", step.c_str());
            return 2;
        }
    }
    return 0;
}

}  // namespace driver
