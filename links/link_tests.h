// The small tests that decide whether a text is an accepted URL, and what
// kind of file a path names. Each leaves the accepted URL's parts in
// urlParts.
#pragma once
#include <string>
#include <string_view>

enum FileKind : int { fileKindHtml = 2, fileKindOther = 3, fileKindShortcut = 4 };

// 0: an enabled http/ftp/mailto link; 1: an enabled file link; -1 otherwise.
int classifyLink(std::string_view text);
// What findFirstUrl answers for a URL of 260 characters or more.
constexpr int findTooLong = -2;
// Cuts the first enabled URL out of `text` (stop mode 0: a blank or '>'
// ends it; 1: '>' only; an apostrophe ends it in either mode only when the
// URL began right after an apostrophe); 0 on success, findTooLong when the
// URL has 260 characters or more (`text` then holds it, uncut), -1 when
// there is none or it does not split. `toTextEnd`, when given, tells
// whether the URL ran to the end of the text. What follows a
// `titleSeparator` in the cut text is a title: it stays in `text` but is
// neither measured nor split with the URL.
int findFirstUrl(std::string& text, int stopMode, bool* toTextEnd = nullptr,
                 std::string_view titleSeparator = std::string_view());
// Whether a URL scheme prefix of any kind ("http://", "mailto:" ...) occurs
// anywhere in the text, whether or not that kind is switched on.
bool holdsUrlScheme(std::string_view text);
// The URL of an Internet-shortcut file (the "URL=" key of its
// [InternetShortcut] section; in a file without that section, the first
// "URL=" anywhere), or empty. Only the file's first 777 bytes are read. A
// URL of 260 characters or more is not returned; `tooLong`, when given,
// then receives it.
std::string readShortcutUrl(const std::string& path, std::string* tooLong = nullptr);
// Shortcut, web page (by the settings' page extensions) or other file.
int fileKindByExtension(std::string_view path);
