// The list view: check boxes are its state images, 1 unchecked and 2
// checked.
#include "links/win32/list_view.h"

#include <vector>

#include "common/capacity.h"
#include "common/dpi.h"
#include "links/list_layout.h"

namespace {

constexpr DWORD listStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS |
                            LVS_EDITLABELS;
constexpr DWORD listExtendedStyle =
    LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT;

constexpr UINT uncheckedImage = 1;
constexpr UINT checkedImage = 2;

void insertColumn(HWND listView, int index, const char* header, int width) {
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.pszText = const_cast<char*>(header);
    column.iSubItem = index;
    SendMessageA(listView, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&column));
}

UINT stateImage(HWND listView, int row) {
    const LRESULT state = SendMessageA(listView, LVM_GETITEMSTATE, static_cast<WPARAM>(row),
                                       LVIS_STATEIMAGEMASK);
    return static_cast<UINT>((state & LVIS_STATEIMAGEMASK) >> 12);
}

}  // namespace

HWND createListView(HWND parent, int dpi) {
    HWND listView = CreateWindowExA(0, WC_LISTVIEWA, "", listStyle, 0, 0, 0, 0, parent,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(listViewControlId)),
                                    GetModuleHandleA(nullptr), nullptr);
    if (!listView) return nullptr;
    const LRESULT current = SendMessageA(listView, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    SendMessageA(listView, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, current | listExtendedStyle);
    insertColumn(listView, 0, "Title", listColumnWidth(0, dpi));
    insertColumn(listView, 1, "URL", listColumnWidth(1, dpi));
    return listView;
}

void rescaleListColumns(HWND listView, int fromDpi, int toDpi) {
    for (int column = 0; column < 2; ++column) {
        const int width = static_cast<int>(SendMessageA(listView, LVM_GETCOLUMNWIDTH, column, 0));
        SendMessageA(listView, LVM_SETCOLUMNWIDTH, column,
                     MAKELPARAM(rescaleForDpi(width, fromDpi, toDpi), 0));
    }
}

int Win32ListRows::count() {
    return static_cast<int>(SendMessageA(listView_, LVM_GETITEMCOUNT, 0, 0));
}

std::string Win32ListRows::text(int row, int column) {
    // Room for the longest text a row is given (a URL slot) and more, so
    // that nothing is cut here; callers cut to their own capacities.
    std::vector<char> buffer(cap::token, '\0');
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    SendMessageA(listView_, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
    buffer.back() = '\0';
    return buffer.data();
}

bool Win32ListRows::checked(int row) { return stateImage(listView_, row) != uncheckedImage; }

void Win32ListRows::setChecked(int row, bool on) {
    LVITEMA item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(on ? checkedImage : uncheckedImage);
    SendMessageA(listView_, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
}

int Win32ListRows::selectedRow() {
    return static_cast<int>(SendMessageA(listView_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                         MAKELPARAM(LVNI_SELECTED, 0)));
}

void Win32ListRows::append(const std::string& title, const std::string& url) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = count();
    item.pszText = const_cast<char*>(title.c_str());
    const int row = static_cast<int>(
        SendMessageA(listView_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0) return;
    LVITEMA cell{};
    cell.iSubItem = 1;
    cell.pszText = const_cast<char*>(url.c_str());
    SendMessageA(listView_, LVM_SETITEMTEXTA, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&cell));
}

void Win32ListRows::remove(int row) {
    SendMessageA(listView_, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
}

void Win32ListRows::clear() { SendMessageA(listView_, LVM_DELETEALLITEMS, 0, 0); }

// One repaint for a batch rather than one per row: 500 rows otherwise take
// seconds to insert into a shown list.
void Win32ListRows::beginChanges() { SendMessageA(listView_, WM_SETREDRAW, FALSE, 0); }

void Win32ListRows::endChanges() {
    SendMessageA(listView_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(listView_, nullptr, TRUE);
}

void Win32ListRows::select(int row) {
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(listView_, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
}
