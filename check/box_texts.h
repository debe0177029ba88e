// What Tavrin's message boxes say, in English: the check tool names a box
// by its Japanese caption and text, as the user will see it, and under
// "--lang en" adds what it means.
#pragma once
#include <string>

// "caption: meaning" for a box Tavrin shows; the caption alone when the
// text is not one of Tavrin's own.
std::string boxInEnglish(const std::string& caption, const std::string& text);
