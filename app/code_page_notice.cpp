// The notice of a system code page other than 932.
#include "app/code_page_notice.h"

namespace {
constexpr unsigned japaneseCodePage = 932;
constexpr unsigned utf8CodePage = 65001;

const char* const utf8Notice =
    "Windows の設定「ベータ: ワールドワイド言語サポートで Unicode UTF-8 を使用」がオンのため、"
    "Tavrin の日本語（メニュー、リスト、メッセージ）が正しく表示されません。\r\n"
    "コントロール パネルの「地域」→「管理」→「システム ロケールの変更」でこの設定をオフにし、"
    "Windows を再起動してください。\r\n\r\n"
    "The Windows setting \"Beta: Use Unicode UTF-8 for worldwide language support\" is on, so "
    "Tavrin's Japanese text (menus, lists, messages) does not show correctly.\r\n"
    "Turn it off in Control Panel > Region > Administrative > Change system locale, "
    "then restart Windows.";

const char* const localeNoticeJapanese =
    "Unicode 対応ではないプログラムの言語が日本語ではない（コード ページ {}）ため、"
    "Tavrin の日本語（メニュー、リスト、メッセージ）が正しく表示されません。\r\n"
    "コントロール パネルの「地域」→「管理」→「システム ロケールの変更」で「日本語 (日本)」を選び、"
    "Windows を再起動してください。\r\n\r\n";
const char* const localeNoticeEnglish =
    "The language for non-Unicode programs is not Japanese (code page {}), so Tavrin's Japanese "
    "text (menus, lists, messages) does not show correctly.\r\n"
    "Choose \"Japanese (Japan)\" in Control Panel > Region > Administrative > Change system "
    "locale, then restart Windows.";

const char* const carriesOn = "\r\n\r\nTavrin はこのまま続けます。 / Tavrin carries on.";

std::string withCodePage(const char* text, unsigned codePage) {
    std::string out = text;
    const std::size_t at = out.find("{}");
    if (at != std::string::npos) out.replace(at, 2, std::to_string(codePage));
    return out;
}
}  // namespace

std::string codePageNoticeText(unsigned codePage) {
    if (codePage == japaneseCodePage) return std::string();
    if (codePage == utf8CodePage) return std::string(utf8Notice) + carriesOn;
    return withCodePage(localeNoticeJapanese, codePage) + withCodePage(localeNoticeEnglish, codePage) +
           carriesOn;
}

bool warnOfForeignCodePage(platform::WindowHandle window) {
    const std::string text = codePageNoticeText(platform::os().codePage());
    if (text.empty()) return false;
    platform::os().messageBox(window, text, "注意 / Caution", platform::mbOk | platform::mbIconWarning);
    return true;
}
