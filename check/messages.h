// The check tool's texts come in two languages: Japanese, like the rest of
// the product, and English. A text's "{1}", "{2}" ... take the arguments.
#pragma once
#include <initializer_list>
#include <string>
#include <string_view>

enum class Language { japanese, english };

struct Text {
    const char* japanese;
    const char* english;
};

// The text in `language` with its "{n}" marks replaced by the arguments.
std::string say(Language language, const Text& text,
                std::initializer_list<std::string_view> arguments = {});
