// The settings lines "browsers" writes for the browsers found: one program
// line per browser, a ">" sub-command per profile captioned with its name,
// one for the private window, for the "[all]" block. Every line is one
// Tavrin reads as meant: within its capacities, split by the separator in
// the right place, with nothing a placeholder could take; what cannot be
// written so is left out and named.
#pragma once
#include <string>
#include <vector>

#include "check/browser_find.h"
#include "check/messages.h"
#include "check/system_view.h"

enum class LeftOut {
    no,
    programMissing,      // the program file is not there
    programUnnamable,    // a code page 932 program cannot name its path
    programTooLong,      // longer than a program path Tavrin holds
    separatorInText,     // the settings' separator stands in the path or template
    tooManyRows,         // the block would hold more rows than Tavrin reads
    folderNameUnsafe,    // a profile folder name no switch can carry as written
    profileUnnamable,    // neither the name nor the path can be written
    templateTooLong,
};

struct FragmentItem {
    std::string caption;   // code page 932, "&" doubled
    std::string argument;  // the template before " %L"
    bool isPrivate = false;
    bool byPath = false;   // a Firefox profile named by its folder
    LeftOut leftOut = LeftOut::no;
};

struct FragmentBrowser {
    const FoundBrowser* found = nullptr;
    std::string caption;   // code page 932
    std::string program;   // code page 932, as the line names it
    LeftOut leftOut = LeftOut::no;
    std::vector<FragmentItem> items;
};

struct BrowserFragment {
    std::vector<FragmentBrowser> browsers;
    std::vector<std::string> lines;  // code page 932, without header; empty when no browser is written
    bool lostCharacters = false;     // a name held a character the code page lacks
};

// `separator` is the one the settings use (" | " unless "@dlm=" says
// otherwise).
BrowserFragment buildFragment(const std::vector<FoundBrowser>& found, SystemView& system,
                              const std::string& separator, Language language);
