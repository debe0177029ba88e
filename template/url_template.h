// Expansion of the URL-part placeholders "%F" … "%-L" in command templates,
// with "%O" and "%V" for the file name and the full path of the program the
// targets came from (targetSource()), and the hand-over of the target to
// the browser for "%S=" and "%S".
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// 1 when the last full expansion left "%M" for the launch to fill, at
// multiUrlPosition of its result (a "%M" inside an inserted URL is none).
extern int multiUrlFlag;
extern std::size_t multiUrlPosition;

// The file a download saves to, for the loader's parameters: "%K" stands
// for its name and "%-K" for its full path.
struct SavedFile {
    std::string name;
    std::string path;
};

// Expands `templateText` for runState.currentTarget. Returns the expanded
// text (at most 1,039 characters), or the cancel marker after the URL was
// handed to the browser. With urlPartsOnly 1 it stops after the URL parts.
// The placeholders are replaced where they stand in the template, in one
// pass; text that went in as a value is never expanded again.
std::string expandUrlTemplate(std::string_view templateText,
                              const std::string& fallbackProgram, int urlPartsOnly,
                              const SavedFile* savedFile = nullptr);
