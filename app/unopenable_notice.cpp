// The caution box about names the program cannot open.
#include "app/unopenable_notice.h"

#include "common/unopenable_names.h"

std::string unopenableNoticeText() {
    if (unopenableNames.count == 0) return std::string();
    std::string text = "次のファイル（フォルダ）は、名前にShift_JISに無い文字（?の所）が"
                       "あるため開けません。\n" + unopenableNames.first;
    if (unopenableNames.count > 1)
        text += "\n（ほかに" + std::to_string(unopenableNames.count - 1) + "件）";
    return text;
}

bool reportUnopenableNames(platform::WindowHandle window) {
    const std::string text = unopenableNoticeText();
    clearUnopenableNames();
    if (text.empty()) return false;
    platform::os().messageBox(window, text, "注意", platform::mbOk | platform::mbIconWarning);
    return true;
}
