// Text that Windows hands over in its wide form (UTF-16: the command line,
// the clipboard, dropped text and files, an Internet shortcut's wide URL)
// as the program's code page 932 text.
//
// A character the code page has keeps its bytes, so text the code page
// holds comes out exactly as the system's own conversion gives it. For a
// character it lacks:
//   - inside a URL (from "http://", "https://", "ftp://", "mailto:" or
//     "file://" to the blank, '>' or '"' that ends it, or to the title
//     separator), the form browsers send themselves: a host-name label
//     holding one is mapped as browsers map it and becomes "xn--..."
//     (IDNA, links/host_text.h), anything else percent-escaped UTF-8;
//   - a space of another script (no-break, thin, ideographic-width ...) and
//     the guillemets « » ‹ › become a blank, which ends a word as a blank
//     does; a byte-order mark is dropped;
//   - anywhere else '?'. A word holding such a character that names an
//     existing file or folder is replaced by the name that reaches it
//     through short (8.3) names; where it has none, the word is left out
//     altogether and recorded in unopenableNames: no name an ANSI program
//     can spell reaches it.
#pragma once
#include <string>
#include <string_view>

enum class WideText {
    input,  // words as recognition takes them: URLs, paths, anything
    path,   // one file or folder name, as a dropped file's
    url,    // one URL, as an Internet shortcut's
};

// The code page 932 form of `wide` (up to its first zero unit). A `path`
// that the code page cannot hold comes out by its short names, or, where it
// has none, empty, recorded in unopenableNames.
std::string wideToCp932(std::u16string_view wide, WideText kind);
