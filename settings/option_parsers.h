// Parsers for option values shared by the settings loader and the
// command-line switches "/#m=" and "/#u=". Values arrive with CR LF
// appended, as both callers hand them over.
#pragma once
#include <string_view>

// Sets settings.menuPosition, menuX and menuY ("@menu=" syntax).
void parseMenuPosition(std::string_view valueCrLf);
// Sets the four settings.schemeEnabled flags ("@scheme=" syntax).
void parseSchemeList(std::string_view valueCrLf);
