// The "@menu=" and "@scheme=" value parsers, shared with the command-line
// switches "/#m=" and "/#u=".
#include "settings/option_parsers.h"

#include "common/app_state.h"
#include "common/dpi.h"
#include "common/text.h"
#include "settings/settings.h"

namespace {

// Tokens of these values keep at most 6 characters; the rest is dropped.
constexpr std::size_t tokenCapacity = 7;

struct Token {
    std::string text;
    char ender = '\0';  // the byte that ended it; '\0' at the end of the value
    std::size_t next = 0;
};

// Reads the token starting at `from` up to one of `enders` or the end.
Token readToken(std::string_view value, std::size_t from, std::string_view enders) {
    Token t;
    if (from > value.size()) from = value.size();
    std::size_t i = from;
    while (i < value.size() && enders.find(value[i]) == std::string_view::npos)
        i += text::isLeadByte(static_cast<unsigned char>(value[i])) ? 2 : 1;
    if (i > value.size()) i = value.size();  // a lone lead byte at the very end
    t.text = text::cut(value.substr(from, i - from), tokenCapacity);
    if (i < value.size()) t.ender = value[i];
    t.next = i + 1;
    return t;
}

}  // namespace

void parseMenuPosition(std::string_view valueCrLf) {
    settings.menuPosition = menuAtActiveWindow;
    const Token first = readToken(valueCrLf, 0, ",\r\n");
    const bool commaFollows = first.ender == ',';

    int x = 0;
    if (text::containsNoCase(first.text, "MAX")) {
        if (!commaFollows) return;
        x = runState.screenWidth;
    } else if (text::containsNoCase(first.text, "mouse")) {
        if (runState.mouseButtonCount != 0) settings.menuPosition = menuAtMouse;
        return;
    } else if (text::containsNoCase(first.text, "mous2")) {
        if (runState.mouseButtonCount != 0) settings.menuPosition = menuAtMouse2;
        return;
    } else if (text::containsNoCase(first.text, "center")) {
        settings.menuPosition = menuCentred;
        return;
    } else if (text::containsNoCase(first.text, "active")) {
        return;
    } else if (commaFollows) {
        x = scaleForDpi(text::toInt(first.text), runState.systemDpi);
    } else {
        return;
    }

    const Token second = readToken(valueCrLf, first.next, ",\r\n");
    // "MAX" is found anywhere in a token that another comma follows, but
    // must stand exactly, in capitals, as the last token of the line.
    const bool maxHeight = second.ender == ','
                               ? text::containsNoCase(second.text, "MAX")
                               : second.text == "MAX";
    settings.menuX = x;
    settings.menuY = maxHeight ? runState.maximizedHeight
                               : scaleForDpi(text::toInt(second.text), runState.systemDpi);
    settings.menuPosition = menuAtXY;
}

void parseSchemeList(std::string_view valueCrLf) {
    static constexpr const char* kinds[4] = {"http", "ftp", "mailto", "file"};
    settings.schemeEnabled = {0, 0, 0, 0};
    bool anyOn = false;
    std::size_t pos = 0;
    for (int tokens = 0; tokens < 4 && pos <= valueCrLf.size(); ++tokens) {
        const Token t = readToken(valueCrLf, pos, "; \r\n");
        for (int k = 0; k < 4; ++k) {
            if (text::containsNoCase(t.text, kinds[k])) {
                settings.schemeEnabled[k] = 1;
                anyOn = true;
                break;
            }
        }
        if (t.ender != ';') break;  // a space, a line end or the value's end
        pos = t.next;
    }
    if (!anyOn) settings.schemeEnabled = {1, 1, 1, 1};
}
