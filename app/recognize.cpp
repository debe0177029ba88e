// The token walk of input recognition. It is byte-wise on purpose: every
// byte it treats specially (quote, blank, tab, line end) lies below 0x40
// and so never occurs as the trail byte of a double-byte character. Blanks
// and tabs end a token outside double quotes.
#include "app/recognize.h"

#include <string>

#include "app/recognize_token.h"
#include "common/capacity.h"
#include "common/overlong_url.h"
#include "common/text.h"
#include "common/url_list.h"

int recognizeInput(std::string_view input, int lineMode, int fileChecks) {
    // The text ends at its first zero byte, as every caller's buffer does.
    input = input.substr(0, input.find('\0'));
    urlList.urlCount = 0;
    clearOverlongUrls();

    std::string token;
    token.reserve(cap::token);
    bool inQuotes = false;
    bool tokenCut = false;  // bytes of the current token were dropped
    const std::size_t tokenLimit = cap::token - 1;

    // A token cut at its limit may end in half a character; the shared cut
    // keeps it out of what is tested.
    auto finish = [&](bool quoted) {
        int r = finishToken(text::cut(token, cap::token), quoted, fileChecks, tokenCut);
        token.clear();
        tokenCut = false;
        return r;
    };

    for (char c : input) {
        int r = tokenGoesOn;
        if (c == '"') {
            if (!inQuotes) {
                if (!token.empty()) r = finish(false);
                if (r != tokenGoesOn) return r;
                token.assign(1, '"');
                inQuotes = true;
                continue;
            }
            if (token.size() < tokenLimit) token += c;
            else tokenCut = true;
            inQuotes = false;
            r = finish(true);
        } else if ((c == ' ' || c == '\t') && !inQuotes) {
            // A tab ends a token as a blank does: two spreadsheet columns
            // copied together are a URL and a word, not one longer URL.
            r = finish(false);
        } else if (c == '\n' && lineMode == 1) {
            inQuotes = false;
            r = finish(false);
        } else if (c == '\r' || c == '\t' || c == '\n') {
            continue;  // inside quotes, or a line end that separates nothing
        } else if (token.size() < tokenLimit) {
            token += c;
        } else {
            tokenCut = true;
        }
        if (r != tokenGoesOn) return r;
    }
    if (!token.empty()) {
        int r = finish(false);
        if (r != tokenGoesOn) return r;
    }
    return recognizedUrls;
}
