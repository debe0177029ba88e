// Opening rows of the link list: the checked rows or the selected one,
// with a list program or through the association dispatch.
#pragma once
#include "links/list_rows.h"
#include "platform/platform.h"

// singleRow 0: the checked rows; otherwise the selected row. program: a
// list program's index, or 20 and above for the association dispatch
// (from the alternate settings file while Shift is held). The caller has
// just taken a snapshot of urlList (saveUrlList); the list serves as
// scratch space and the snapshot is put back at the end.
void openRows(platform::WindowHandle window, ListRows& rows, int singleRow, int program);
