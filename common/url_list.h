// The process-wide table of targets every input fills from entry 0, and
// the snapshot that lets a shown list survive input that yields nothing.
#pragma once
#include <array>
#include <string>

#include "common/source_program.h"

enum LinkKind : int { Anchor = 0, Image = 1 };

struct UrlEntry {
    std::string url;        // 520-byte slot
    std::string title;      // 260-byte slot
    std::string scheme;     // 32-byte slot
    std::string extension;  // 260-byte slot; "blank" when the path has none
    int kind = Anchor;
    // The URL as it was given when link cleaning changed it, for the rows
    // that ask for it ("!" program lines); empty otherwise. 520-byte slot.
    std::string givenUrl;
};

constexpr int maxUrlEntries = 500;

struct UrlList {
    int urlCount = 0;
    std::array<UrlEntry, maxUrlEntries> entries;
    // The program the entries came from (targetSource()): the one Tavrin
    // was started from (sourceIsStart), or a second copy's for a hand-off;
    // none for what was dropped, pasted or read by the list window's own
    // commands.
    SourceProgram source;
    bool sourceIsStart = false;
};

// Whole entries: a restored list must show the titles, schemes and
// extensions its rows had, not what the failed input left in their places.
struct SavedUrlList {
    int count = 0;
    std::array<UrlEntry, maxUrlEntries> entries;
    SourceProgram source;
    bool sourceIsStart = false;
};

extern UrlList urlList;
extern SavedUrlList savedUrlList;

// What dispatch and templates take the entries' source from; the start's
// is decided here when it is first wanted.
const SourceProgram& targetSource();
// The entries came from the program Tavrin was started from.
void takeStartSource();
// The entries came from `source` (none: SourceProgram{}).
void takeSource(const SourceProgram& source);

void saveUrlList();
void restoreUrlList();
// The URL as given of the snapshot's first entry whose (clean) URL is
// `url`; empty when there is none or that entry was not cleaned.
std::string savedGivenUrl(const std::string& url);
