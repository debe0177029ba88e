// Recognising that the system's program for a URL is this program.
#include "launch/loop_guard.h"

#include "common/app_state.h"
#include "common/capacity.h"
#include "common/path_ops.h"
#include "common/text.h"
#include "platform/platform.h"
#include "settings/system_program.h"

namespace {
bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
}  // namespace

std::string urlScheme(std::string_view target) {
    std::size_t i = 0;
    while (i < target.size() &&
           (isAsciiLetter(target[i]) ||
            (i > 0 && ((target[i] >= '0' && target[i] <= '9') || target[i] == '+' ||
                       target[i] == '-' || target[i] == '.'))))
        ++i;
    if (i < 2 || i >= target.size() || target[i] != ':') return std::string();
    std::string scheme(target.substr(0, i));
    for (char& c : scheme)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
    return text::cut(scheme, cap::scheme);
}

bool systemOpensWithItself(std::string_view target) {
    const std::string scheme = urlScheme(target);
    std::string program;
    if (scheme.empty() || !platform::os().schemeProgram(scheme, program)) return false;
    return isThisProgram(unquoteSpaces(program));
}

void reportNoBrowserFor(std::string_view target) {
    const std::string& name = programPaths.programName;
    const std::string text =
        "次のURLを開くブラウザが設定されていません。\n" + name +
        "がWindowsでこのURLを開くプログラム（既定のブラウザ）になっているため、"
        "Windowsに開かせると" + name + "がまた起動してしまいます。"
        "設定ファイルでこのURLを開くブラウザを指定してください。\n" +
        text::cut(target, cap::path);
    platform::os().messageBox(runState.mainWindow, text, "注意",
                              platform::mbOk | platform::mbIconWarning);
}
