// Opening list rows. A list program is started once per URL (pausing as
// "@dist=" says) unless its parameters take every URL at once with "%M".
#include "app/open_rows.h"

#include "common/app_state.h"
#include "common/capacity.h"
#include "common/text.h"
#include "common/url_list.h"
#include "launch/launch.h"
#include "launch/select.h"
#include "links/list_rows_ops.h"
#include "links/list_state.h"
#include "settings/settings.h"
#include "template/url_template.h"

namespace {

// Puts a row's URL into entry i. The URL as given of a cleaned link comes
// from the snapshot of the list the rows were built from.
void copyRow(ListRows& rows, int row, int i) {
    UrlEntry& entry = urlList.entries[i];
    text::assignCut(entry.url, rows.text(row, urlColumn), cap::url);
    entry.givenUrl = savedGivenUrl(entry.url);
}

// Copies the URLs to open into urlList; the index of the last checked row
// copied, or -1 when nothing is to be opened.
int collectUrls(ListRows& rows, int singleRow) {
    if (singleRow != 0) {
        const int row = rows.selectedRow();
        if (row < 0) return -1;
        copyRow(rows, row, 0);
        urlList.urlCount = 1;
        return row;
    }
    int copied = 0, lastRow = -1;
    const int n = rows.count();
    for (int row = 0; row < n && copied < maxUrlEntries; ++row) {
        if (!rows.checked(row)) continue;
        copyRow(rows, row, copied);
        ++copied;
        lastRow = row;
    }
    if (copied == 0) return -1;
    urlList.urlCount = copied;
    return lastRow;
}

// Starts the list program for each URL; false when an expansion handed the
// URL to the browser, which ends the whole run.
bool runListProgram(ListProgram& program) {
    if (program.hasExtraParameters == 0) program.extraParameters = "%L";
    // Copies: a start that carries every URL empties urlList.
    const std::string file = program.programFile;
    const std::string parameters = program.extraParameters;
    const int count = urlList.urlCount;
    for (int i = 0; i < count && i < maxUrlEntries; ++i) {
        text::assignCut(runState.currentTarget, urlList.entries[i].url, cap::url);
        const std::string expanded = expandUrlTemplate(parameters, file, 0);
        if (expanded == cancelMarker) return false;
        const bool everyUrl = multiUrlFlag == 1;
        launchProgram(file, expanded);
        if (everyUrl) {
            multiUrlFlag = 0;
            break;
        }
        const int pause = i == 0 ? settings.firstPause : settings.laterPause;
        if (pause > 0) platform::os().sleep(pause);
    }
    return true;
}

}  // namespace

void openRows(platform::WindowHandle window, ListRows& rows, int singleRow, int program) {
    const int lastRow = collectUrls(rows, singleRow);
    if (lastRow < 0) return;
    if (program < associationProgram) {
        const bool known = program >= 0 && program < listPrograms.listProgramCount;
        const bool finished = known && runListProgram(listPrograms.rows[program]);
        restoreUrlList();
        if (!finished) return;
    } else {
        const int alternate = platform::os().isKeyDown(platform::vkShift) ? 1 : 0;
        openWithSettings(window, alternate, 0);
        restoreUrlList();
    }
    if (singleRow != 0) return;
    if (listWindow.uncheckAfterRun == 1 || listWindow.checkNextAfterRun == 1)
        setCheckStates(rows, uncheckAll);
    if (listWindow.checkNextAfterRun == 1 && lastRow + 1 < rows.count())
        rows.setChecked(lastRow + 1, true);
}
