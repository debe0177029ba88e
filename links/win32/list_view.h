// The list-view control of the list window and its rows.
#pragma once
#include "links/list_rows.h"
#include "platform/win32/win.h"

constexpr int listViewControlId = 100;

// Creates the report-style list view with check boxes and the "Title" and
// "URL" columns, as wide as they start at `dpi`, as a child of `parent`,
// at size 0 (the parent fits it).
HWND createListView(HWND parent, int dpi);
// Column widths as shown at `fromDpi`, made as wide at `toDpi`: widths the
// user dragged keep their share.
void rescaleListColumns(HWND listView, int fromDpi, int toDpi);

// The rows of a list-view control.
class Win32ListRows final : public ListRows {
public:
    void attach(HWND listView) { listView_ = listView; }
    HWND control() const { return listView_; }

    int count() override;
    std::string text(int row, int column) override;
    bool checked(int row) override;
    void setChecked(int row, bool on) override;
    int selectedRow() override;
    void append(const std::string& title, const std::string& url) override;
    void remove(int row) override;
    void clear() override;
    void beginChanges() override;
    void endChanges() override;
    // Selects the row and gives it the focus rectangle, so that Enter
    // opens it.
    void select(int row);

private:
    HWND listView_ = nullptr;
};
