// Effects of a dry run in words, for people and for scripts.
#pragma once
#include <string>

#include "check/effects.h"
#include "check/messages.h"

// True for a start that is the shell opening a document or URL by itself
// (no parameters, no working folder), as Tavrin's "open by the system" is.
bool opensBySystem(const Effect& effect);

// One line (without line end) telling the effect.
std::string describeEffect(const Effect& effect, Language language);

// The same for the report in words: under English a message box also
// tells what its Japanese text means.
std::string effectWords(const Effect& effect, Language language);

// The effect as a tab-separated line (without line end): its kind and its
// texts, with tabs and line ends in them turned into spaces.
std::string effectTsv(const Effect& effect);

// The command line a started program receives: its quoted path, a space and
// the parameters (nothing more without parameters).
std::string commandLineOf(const Effect& start);
