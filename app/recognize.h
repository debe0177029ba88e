// One recogniser for every text the program is given, and the clipboard
// reader built on it.
#pragma once
#include <string>
#include <string_view>

#include "platform/platform.h"

enum RecognizeResult : int {
    recognizedUrls = 0,
    recognizedFolder = 1,
    recognizedHtmlFile = 2,
    recognizedOtherFile = 3,
};

// Fills urlList from entry 0. lineMode 1: a line feed ends a token.
// fileChecks > 0: tokens are tested against the file system.
int recognizeInput(std::string_view text, int lineMode, int fileChecks);

// -1 without usable clipboard text or when nothing was recognised; else the
// result of recognizeInput. Leaves the clipboard text in transferBuffer.
int readClipboardInput(platform::WindowHandle window);
// Its two halves: the clipboard's text (its wide form where there is one)
// in code page 932, false when it holds none; and that text recognised as
// readClipboardInput does.
bool takeClipboardText(platform::WindowHandle window, std::string& out);
int recognizeClipboardText(std::string_view clip);
