// Filling a text's "{n}" marks, counts and quoting.
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

std::string counted(Language language, long long n, const Text& one, const Text& many) {
    return say(language, n == 1 ? one : many, {std::to_string(n)});
}

std::string printable(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t step = text::charLength(text, i);
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (step == 1 && (c < 0x20 || c == 0x7F)) {
            out += '^';
            out += c == 0x7F ? '?' : static_cast<char>(c + 0x40);
        } else {
            out.append(text.substr(i, step));
        }
        i += step;
    }
    return out;
}

std::string tsvField(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    return out;
}

std::string quoted(Language language, std::string_view name) {
    if (language == Language::japanese) return "「" + std::string(name) + "」";
    return "\"" + std::string(name) + "\"";
}
