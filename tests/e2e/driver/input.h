// Input as a person gives it, synthesised with SendInput: keys with their
// modifiers, mouse clicks at screen points; and the clipboard.
#pragma once
#include <string>
#include <vector>

#include "platform/win32/win.h"

namespace driver {

// A key by name: "return", "escape", "space", "down", "up", "tab",
// "shift", "control", "alt", "apps", "f10", a letter or a digit. 0 when
// the name is unknown.
WORD keyCode(const std::string& name);
void keyDown(WORD vk);
void keyUp(WORD vk);
// Presses the keys in order and releases them in reverse order.
void keyChord(const std::vector<WORD>& keys);

// Moves the cursor to the point and clicks there (twice for a double
// click) with the left or right button.
void clickAt(POINT screen, bool right, int clicks);

// Makes the window the foreground window even though another process has
// the foreground.
bool bringForward(HWND window);

bool putClipboardText(HWND owner, const std::string& bytes, LCID locale = 0);
// Puts UTF-8 text on the clipboard as CF_UNICODETEXT alone, as a program
// that writes wide text does; the system makes CF_TEXT from it.
bool putClipboardWideText(HWND owner, const std::string& utf8);
// False when the clipboard holds no text.
bool readClipboardText(std::string& out);

}  // namespace driver
