// The record of URLs too long to hold.
#include "common/overlong_url.h"

#include "common/text.h"

OverlongUrls overlongUrls;

namespace {
// Enough of a URL for the user to recognise it in the box.
constexpr std::size_t headCapacity = 81;
}  // namespace

void clearOverlongUrls() { overlongUrls = OverlongUrls{}; }

void noteOverlongUrl(std::string_view text, std::size_t limit) {
    for (int i = 0; i < overlongUrls.noteCount; ++i) {
        if (overlongUrls.notes[i].limit == limit) {
            ++overlongUrls.notes[i].count;
            return;
        }
    }
    if (overlongUrls.noteCount >= static_cast<int>(overlongUrls.notes.size())) return;
    OverlongNote& note = overlongUrls.notes[overlongUrls.noteCount++];
    note.limit = limit;
    note.count = 1;
    note.head = text::cut(text, headCapacity);
    if (note.head.size() < text.size()) note.head += "…";
}

void keepOverlongNote(std::size_t limit) {
    OverlongUrls kept;
    for (int i = 0; i < overlongUrls.noteCount; ++i)
        if (overlongUrls.notes[i].limit == limit) kept.notes[kept.noteCount++] = overlongUrls.notes[i];
    overlongUrls = kept;
}
