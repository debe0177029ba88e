// The rows of "links" as the check tool prints them: JSON, tab-separated
// or for reading. Each is appended field by field to the one output
// buffer, which the tool writes out at once.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "common/url_list.h"

// A text as a JSON string (quotes included); double-byte characters pass
// through whole, so a trail byte that equals '\' stays as it is.
void appendJson(std::string& out, std::string_view text);
std::string jsonString(std::string_view text);

// "kind<TAB>url<TAB>title" lines; tabs and line ends in a field become
// blanks.
void appendTsvRows(std::string& out, const std::vector<UrlEntry>& rows);
// The JSON array of the rows.
void appendJsonRows(std::string& out, const std::vector<UrlEntry>& rows);
// Numbered lines, control characters shown as ^X.
void appendReadableRows(std::string& out, const std::vector<UrlEntry>& rows);
