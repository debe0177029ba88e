// The small tests that decide whether a text is an accepted URL, and what
// kind of file a path names. Each leaves the accepted URL's parts in
// urlParts.
#pragma once
#include <string>
#include <string_view>

enum FileKind : int { fileKindHtml = 2, fileKindOther = 3, fileKindShortcut = 4 };

// 0: an enabled http/ftp/mailto link; 1: an enabled file link; -1 otherwise.
int classifyLink(std::string_view text);
// Cuts the first enabled URL out of `text` (stop mode 0: a blank or '>'
// ends it; 1: '>' only; an apostrophe ends it in either mode only when the
// URL began right after an apostrophe); 0 on success, -1 otherwise.
int findFirstUrl(std::string& text, int stopMode);
// Whether a URL scheme prefix of any kind ("http://", "mailto:" ...) occurs
// anywhere in the text, whether or not that kind is switched on.
bool holdsUrlScheme(std::string_view text);
// The URL of an Internet-shortcut file, or empty.
std::string readShortcutUrl(const std::string& path);
// Shortcut, web page (by the settings' page extensions) or other file.
int fileKindByExtension(std::string_view path);
