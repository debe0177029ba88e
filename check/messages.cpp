// Filling a text's "{n}" marks.
#include "check/messages.h"

#include <vector>

#include "common/text.h"

std::string say(Language language, const Text& text,
                std::initializer_list<std::string_view> arguments) {
    const std::string_view pattern = language == Language::japanese ? text.japanese : text.english;
    const std::vector<std::string_view> args(arguments);
    std::string out;
    // "{" can be the trail byte of a double-byte character (as in "＋"):
    // walk the pattern character by character.
    for (std::size_t i = 0; i < pattern.size();) {
        const std::size_t step = text::charLength(pattern, i);
        if (step == 1 && pattern[i] == '{' && i + 2 < pattern.size() && pattern[i + 1] >= '1' &&
            pattern[i + 1] <= '9' && pattern[i + 2] == '}') {
            const std::size_t n = static_cast<std::size_t>(pattern[i + 1] - '1');
            if (n < args.size()) out += args[n];
            i += 3;
            continue;
        }
        out.append(pattern.substr(i, step));
        i += step;
    }
    return out;
}
