// Words of the check tool's command line into code page 932 text.
#include "check/command_words.h"

#include "links/wide_text.h"

std::string checkWord(std::u16string_view word) {
    const bool quote = word.find_first_of(u" \t") != std::u16string_view::npos &&
                       word.find(u'"') == std::u16string_view::npos;
    if (!quote) return wideToCp932(word, WideText::input);
    const std::string quoted = wideToCp932(u"\"" + std::u16string(word) + u"\"", WideText::input);
    if (quoted.size() >= 2 && quoted.front() == '"' && quoted.back() == '"')
        return quoted.substr(1, quoted.size() - 2);
    return quoted;
}
