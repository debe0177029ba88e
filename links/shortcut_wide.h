// The wide URL of an Internet shortcut. For a URL that the code page cannot
// hold, Windows writes the ANSI form (with '?' or look-alikes where
// characters were lost) under "[InternetShortcut]" and the URL itself,
// UTF-7, under "[InternetShortcut.W]".
#pragma once
#include <string>
#include <string_view>

// The code page 932 form (links/wide_text.h) of the "URL=" value of the
// file's "[InternetShortcut.W]" section, up to a line end or blank; empty
// when there is no such section or line, or the value is no UTF-7.
std::string shortcutWideUrl(std::string_view content);
