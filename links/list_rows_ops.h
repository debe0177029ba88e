// The row operations of the link list: building the rows from urlList
// through the kind and extension filters, check boxes, duplicate removal,
// and the text a list file is written with.
#pragma once
#include <string>
#include <string_view>

#include "common/url_list.h"
#include "links/list_rows.h"

// Whether the entry passes listWindow.kindFilter and the selected filter
// group's extensions.
bool entryPassesFilters(const UrlEntry& entry);
// The title column of an entry: "* " in front for an image.
std::string rowTitle(const UrlEntry& entry);
// Replaces every row by the entries of urlList that pass the filters.
void fillRows(ListRows& rows);

enum CheckCode : int { checkAll = 50, uncheckAll = 51, invertChecks = 52 };
// 50 checks every row, 51 unchecks every row, any other code inverts.
void setCheckStates(ListRows& rows, int code);

// The URL as duplicates are told by: its scheme and host in lower case
// (ASCII only), everything else as written, since paths, queries and
// fragments tell pages apart by case ("watch?v=abcDEF"). A text without a
// scheme is taken as written.
std::string urlComparisonKey(std::string_view url);

// Deletes every row whose URL repeats an earlier row's (the same
// urlComparisonKey); the first occurrence stays.
void removeDuplicateRows(ListRows& rows);

// How many rows are checked.
int checkedRowCount(ListRows& rows);

// The lines of a list file for the checked rows in row order
// (formatListLine), with or without the rows' titles.
std::string listFileText(ListRows& rows, bool withTitles, const std::string& separator);
