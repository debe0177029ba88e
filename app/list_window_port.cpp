// The list window in use, with a stand-in that has no rows until the
// window build installs the real one.
#include "app/list_window_port.h"

namespace {

class NoRows final : public ListRows {
public:
    int count() override { return 0; }
    std::string text(int, int) override { return {}; }
    bool checked(int) override { return false; }
    void setChecked(int, bool) override {}
    int selectedRow() override { return -1; }
    void append(const std::string&, const std::string&) override {}
    void remove(int) override {}
    void clear() override {}
};

class NoWindow final : public ListWindowPort {
public:
    ListRows& rows() override { return rows_; }
    void refreshMenuChecks() override {}
    std::string chooseLinkFile(int) override { return {}; }
    std::string chooseShortcutFolder(int) override { return {}; }
    int saveList(int) override { return 0; }
    bool clipboardWatch() override { return false; }
    void setClipboardWatch(bool) override {}
    void setTopmost(bool) override {}
    void showProgramIcon() override {}
    void setCaption(const std::string&) override {}
    int trackRowMenu(int) override { return 0; }

private:
    NoRows rows_;
};

NoWindow noWindow;
ListWindowPort* current = nullptr;

}  // namespace

ListWindowPort& listWindowPort() { return current ? *current : noWindow; }

ListWindowPort* installListWindowPort(ListWindowPort* port) {
    ListWindowPort* previous = current;
    current = port;
    return previous;
}
