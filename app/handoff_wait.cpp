// The bound of a second copy's wait for a running copy, and the box that
// tells of input given up.
#include "app/handoff_wait.h"

#include "common/app_state.h"
#include "common/text.h"

namespace {
// Enough of the input for the user to recognise it in the box.
constexpr std::size_t headCapacity = 201;
}  // namespace

bool handOffWaitOver(std::uint32_t started, std::uint32_t now) {
    return static_cast<std::uint32_t>(now - started) >= handOffWaitLimitMs;
}

std::string lostHandOffText(std::string_view payload) {
    std::string head = text::cut(payload, headCapacity);
    if (head.size() < payload.size()) head += "…";
    const std::string minutes = std::to_string(handOffWaitLimitMs / 60000u);
    return "起動中の" + programPaths.programName + "に次の入力を渡せませんでした。\n" + minutes +
           "分待ちましたが、一覧ウィンドウが開かず、終了もしませんでした。"
           "もう一度開き直してください。\n\n" +
           head;
}

void reportLostHandOff(platform::WindowHandle window, std::string_view payload) {
    platform::Platform& os = platform::os();
    os.setForeground(window);
    os.messageBox(window, lostHandOffText(payload), "注意", platform::mbOk | platform::mbIconWarning);
}
