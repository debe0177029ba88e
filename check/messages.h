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

// A count with its noun: `one` for 1, `many` otherwise ("1 problem",
// "2 problems"); each text takes the number as "{1}".
std::string counted(Language language, long long n, const Text& one, const Text& many);

// Text from a file or the command line made safe for a terminal: control
// characters (a tab included) are shown as "^X" (DEL as "^?"), so that no
// escape sequence of a binary file ever reaches the console.
std::string printable(std::string_view text);

// A fact of a tab-separated line: tabs and line ends become blanks, so
// that it stays one field of one line.
std::string tsvField(std::string_view text);

// A name as a message quotes it: "name" in English, 「name」 in Japanese, so
// that blanks at its ends show.
std::string quoted(Language language, std::string_view name);
