// The check tool's command line: a command, its words and its options.
#pragma once
#include <string>
#include <vector>

#include "check/messages.h"

struct CheckOptions {
    std::string command;             // "lint", "open", "links"
    std::vector<std::string> words;  // the URLs of open, the file of links
    std::string ini;                 // --ini FILE
    bool iniGiven = false;
    Language language = Language::japanese;
    bool shift = false, ctrl = false;  // --shift, --ctrl
    std::string from;                // --from NAME|PATH: the program the link came from
    bool fromGiven = false;
    std::string base;                // --base URL
    bool baseGiven = false;
    bool subfolders = false;         // --subfolders
    bool noConversion = false;       // --no-convert
    bool tsv = false, json = false, raw = false;
    bool utf8 = false;               // --utf8: UTF-8 into a file or pipe
    bool help = false;
};

// Reads the words; false with `error` set when they make no sense: one
// sentence in the language asked for (wherever "--lang" stands) that names
// the word at fault and what was expected there.
bool parseCheckOptions(const std::vector<std::string>& words, CheckOptions& options,
                       std::string& error);

// The usage text; `windows` names the tool as the Windows build is named.
std::string usageText(Language language, bool windows);
