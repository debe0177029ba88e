// Expansion of the URL-part placeholders "%F" … "%-L" in command templates,
// and the hand-over of the target to the browser for "%S=" and "%S".
#pragma once
#include <string>
#include <string_view>

// 1 when the last full expansion left "%M" for the launch to fill.
extern int multiUrlFlag;

// Expands `templateText` for runState.currentTarget. Returns the expanded
// text (at most 1,039 characters), or the cancel marker after the URL was
// handed to the browser. With urlPartsOnly 1 it stops after the URL parts.
// `fileName`, when given, stands for "%K" in place of the URL's own file
// name (the name a download is saved under).
std::string expandUrlTemplate(std::string_view templateText,
                              const std::string& fallbackProgram, int urlPartsOnly,
                              const std::string* fileName = nullptr);
