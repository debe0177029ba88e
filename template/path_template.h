// Expansion of the file-path placeholders "%P" … "%B" in the parameters of
// a program that opens a downloaded file (with "%O" and "%V", the name and
// path of the program the target came from), and of download folder
// templates.
#pragma once
#include <string>
#include <string_view>

// Expands `templateText` for the local path in runState.currentTarget.
// The folder, date and user placeholders come first (with "@param"); with
// foldersOnly 1 the text is returned after them. The result holds at most
// 1,039 characters: a replacement that would make it longer is cut there.
// Placeholders are replaced where they stand in the template, in one
// pass; text that went in as a value is never expanded again.
std::string expandPathTemplate(std::string_view templateText, int foldersOnly);
