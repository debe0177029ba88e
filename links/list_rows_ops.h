// The row operations of the link list: building the rows from urlList
// through the kind and extension filters, check boxes, duplicate removal,
// and the text a list file is written with.
#pragma once
#include <string>

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

// Deletes every row whose URL repeats an earlier row's (same length, equal
// ignoring ASCII case); the first occurrence stays.
void removeDuplicateRows(ListRows& rows);

// The lines of a list file for the checked rows in row order
// (formatListLine), with or without the rows' titles.
std::string listFileText(ListRows& rows, bool withTitles, const std::string& separator);
