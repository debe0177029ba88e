// Judging one token of the recognised text: folder, file, shortcut or URL.
#pragma once
#include <string_view>

// What finishToken answers when recognition goes on with the next token.
constexpr int tokenGoesOn = -1;

// Tests one token and records what it yields in urlList. Returns a final
// recognition result (a folder, a page or another file, or a full table)
// or tokenGoesOn. `quoted`: the token was enclosed in double quotes, so
// blanks do not end a URL in it. `cut`: the token was longer than its
// buffer and lost its end. URLs too long to hold are recorded as such.
int finishToken(std::string_view token, bool quoted, int fileChecks, bool cut);
