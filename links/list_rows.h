// The rows of the link list as the list logic sees them. Rows keep no tie
// to the urlList entry they came from: every operation reads the texts
// back from the rows. The window build shows them in a list-view control;
// tests use a plain table.
#pragma once
#include <string>

class ListRows {
public:
    virtual ~ListRows() = default;
    virtual int count() = 0;
    // Column 0 is the title, column 1 the URL; the whole text of the cell.
    virtual std::string text(int row, int column) = 0;
    // A row counts as checked unless its check box shows "unchecked", so a
    // row without any check state counts as checked.
    virtual bool checked(int row) = 0;
    virtual void setChecked(int row, bool on) = 0;
    // The first selected row, or -1.
    virtual int selectedRow() = 0;
    // Adds an unchecked row at the end.
    virtual void append(const std::string& title, const std::string& url) = 0;
    virtual void remove(int row) = 0;
    virtual void clear() = 0;
    // Around many changes at once: a view may repaint once at the end.
    virtual void beginChanges() {}
    virtual void endChanges() {}
};

// Brackets a batch of row changes.
class RowChanges {
public:
    explicit RowChanges(ListRows& rows) : rows_(rows) { rows_.beginChanges(); }
    ~RowChanges() { rows_.endChanges(); }
    RowChanges(const RowChanges&) = delete;
    RowChanges& operator=(const RowChanges&) = delete;

private:
    ListRows& rows_;
};

enum ListColumn : int { titleColumn = 0, urlColumn = 1 };
