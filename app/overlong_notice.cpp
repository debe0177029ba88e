// The caution box about URLs too long to hold.
#include "app/overlong_notice.h"

#include "common/overlong_url.h"

namespace {

std::string sentenceFor(std::size_t limit) {
    const std::string n = std::to_string(limit);
    if (limit == overlong::token)
        return "次のURLは前後の文字とつながって長すぎるため開けません。"
               "空白で区切られた一語は" + n + "文字までです。";
    if (limit == overlong::handOff)
        return "入力が長すぎるため、次から後ろは読み込めませんでした。"
               "一度に受け取れるのは" + n + "文字までです。";
    return "次のURLは長すぎるため開けません。開けるURLは" + n + "文字までです。";
}

}  // namespace

std::string overlongNoticeText() {
    std::string text;
    for (int i = 0; i < overlongUrls.noteCount; ++i) {
        const OverlongNote& note = overlongUrls.notes[i];
        if (!text.empty()) text += "\n\n";
        text += sentenceFor(note.limit) + "\n" + note.head;
        if (note.count > 1) text += "\n（ほかに" + std::to_string(note.count - 1) + "件）";
    }
    return text;
}

bool reportOverlongUrls(platform::WindowHandle window) {
    const std::string text = overlongNoticeText();
    clearOverlongUrls();
    if (text.empty()) return false;
    platform::os().messageBox(window, text, "注意", platform::mbOk | platform::mbIconWarning);
    return true;
}
