// URLs that were given to be opened but are longer than the program can
// hold. The place that drops such a URL records it here; the routing of
// input the user gave on purpose (the command line, a hand-off, a drop,
// the clipboard at start, the browser's page) then shows one caution box
// that names the limit. Links read from list files or collected from pages
// are never reported: such readings clear the record like any other.
#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

// The limits, in characters, that a URL can run into on its way in.
namespace overlong {
constexpr std::size_t url = 259;        // a URL: recognised, in a shortcut, the browser's page
constexpr std::size_t token = 1039;     // one blank-separated word of input holding a URL
constexpr std::size_t handOff = 30159;  // a hand-off payload or a clipboard text
}  // namespace overlong

struct OverlongNote {
    std::size_t limit = 0;  // 0: unused
    int count = 0;          // URLs (or cut texts) that ran into this limit
    std::string head;       // the start of the first of them, for the box
};

// At most one note per limit, in the order the limits were first met.
struct OverlongUrls {
    std::array<OverlongNote, 3> notes;
    int noteCount = 0;
};

extern OverlongUrls overlongUrls;

void clearOverlongUrls();
// Records one URL dropped at `limit`; `text` starts with it.
void noteOverlongUrl(std::string_view text, std::size_t limit);
// Drops every note but that of `limit`.
void keepOverlongNote(std::size_t limit);
