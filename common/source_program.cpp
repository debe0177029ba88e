// Naming a source program from a path or a file name.
#include "common/source_program.h"

#include "common/capacity.h"
#include "common/text.h"

namespace {

// A cut drops half a character at the end and may leave a blank there, and
// a blank dropped may leave half a character: both go until neither is
// left, so that the name reads back as itself from a hand-off.
void settle(std::string& text, std::size_t capacity) {
    for (;;) {
        const std::size_t before = text.size();
        while (!text.empty() && text.back() == ' ') text.pop_back();
        const std::string held = text;
        text::assignCut(text, held, capacity);
        if (text.size() == before) return;
    }
}

}  // namespace

SourceProgram sourceProgramFrom(std::string_view given) {
    while (!given.empty() && given.front() == ' ') given.remove_prefix(1);
    while (!given.empty() && given.back() == ' ') given.remove_suffix(1);
    SourceProgram source;
    // The name is what follows the last '\' that stands for itself (0x5C is
    // also the second byte of many double-byte characters).
    std::size_t nameAt = 0;
    for (std::size_t i = 0; i < given.size(); i += text::charLength(given, i))
        if (given[i] == '\\') nameAt = i + 1;
    if (nameAt > 0) text::assignCut(source.path, given, cap::url);
    text::assignCut(source.name, given.substr(nameAt), cap::path);
    settle(source.path, cap::url);
    settle(source.name, cap::path);
    // A path that ends in '\' names a folder, not a program.
    if (source.name.empty()) source.path.clear();
    return source;
}
