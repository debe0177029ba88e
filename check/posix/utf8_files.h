// File names between Tavrin's code, which holds them in code page 932, and
// a POSIX file system, which holds them in UTF-8: the native check tool
// reads "日本語.html" as the user typed it and shows its name the same way.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"

// Code page 932 as UTF-8 when every character converts; otherwise the bytes
// as they are (a name written in some other encoding).
std::string cp932NameToUtf8(const std::string& name);
// The reverse: valid UTF-8 whose every character the code page holds, else
// the bytes as they are.
std::string utf8NameToCp932(const std::string& name);

// The real platform with every file name turned to UTF-8 on its way to the
// file system and back to code page 932 on its way out.
std::unique_ptr<platform::Platform> utf8FileNames(platform::Platform& real);
