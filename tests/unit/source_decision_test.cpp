// Where a link came from: the decision at a copy's start over a process
// table the test makes up, the hand-off record that carries it from a
// second copy (read by a running copy of today's format and of the new),
// and the rows of the list that keep it.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/handoff.h"
#include "app/routing.h"
#include "app/source_decision.h"
#include "common/app_state.h"
#include "common/url_list.h"
#include "platform/process_query.h"
#include "platform/ui_port.h"
#include "settings/settings.h"
#include "tests/support/fake_platform.h"
#include "tests/support/temp_dir.h"

namespace {

using platform::ProcessId;
using namespace std::string_literals;

const std::string tavrin = "C:\\Tools\\Tavrin\\Tavrin.exe";

// Processes by number: their path ("" when it cannot be asked), the name
// the process list gives, and their parent.
struct FakeProcess {
    std::string path, listed;
    ProcessId parent = 0;
};

class FakeProcesses final : public platform::ProcessQuery {
public:
    std::map<ProcessId, FakeProcess> table;
    ProcessId own = 1, front = 0, framed = 0;

    ProcessId ownProcess() override { return own; }
    void noteForeground() override {}
    ProcessId foregroundProcess() override { return front; }
    ProcessId framedProcess() override { return framed; }
    bool imagePath(ProcessId p, std::string& path) override {
        auto it = table.find(p);
        if (it == table.end() || it->second.path.empty()) return false;
        path = it->second.path;
        return true;
    }
    ProcessId parentProcess(ProcessId p, std::string& name) override {
        auto it = table.find(p);
        if (it == table.end() || table.count(it->second.parent) == 0) return 0;
        name = table[it->second.parent].listed;
        return it->second.parent;
    }
};

TEST(SourceDecision, WindowInFrontElseParent) {
    struct Case {
        const char* what;
        std::map<ProcessId, FakeProcess> table;
        ProcessId front, framed;
        std::string name, path;
    };
    const FakeProcess self{tavrin, "Tavrin.exe", 2};
    const FakeProcess launcher{"C:\\Apps\\launcher.exe", "launcher.exe", 0};
    const FakeProcess mail{"C:\\Apps\\Mail\\mailer.exe", "mailer.exe", 0};
    const std::vector<Case> cases = {
        {"the window in front", {{1, self}, {2, launcher}, {3, mail}}, 3, 0, "mailer.exe", mail.path},
        {"nothing in front: the parent", {{1, self}, {2, launcher}}, 0, 0, "launcher.exe", launcher.path},
        {"the desktop", {{1, self}, {2, launcher}, {3, {"C:\\Windows\\Explorer.EXE", "explorer.exe", 0}}},
         3, 0, "launcher.exe", launcher.path},
        {"a console", {{1, self}, {2, launcher}, {3, {"C:\\Windows\\System32\\cmd.exe", "cmd.exe", 0}}},
         3, 0, "launcher.exe", launcher.path},
        {"another copy of Tavrin", {{1, self}, {2, launcher}, {3, {"c:\\tools\\tavrin\\TAVRIN.EXE", "", 0}}},
         3, 0, "launcher.exe", launcher.path},
        {"a window we cannot ask about", {{1, self}, {2, launcher}, {3, {"", "secret.exe", 0}}}, 3, 0,
         "launcher.exe", launcher.path},
        {"a parent we cannot ask about: its listed name", {{1, self}, {2, {"", "hidden.exe", 0}}}, 0, 0,
         "hidden.exe", ""},
        {"no parent either", {{1, {tavrin, "Tavrin.exe", 9}}}, 0, 0, "", ""},
        {"a packaged app's frame: the app inside",
         {{1, self}, {2, launcher}, {3, {"C:\\Windows\\System32\\ApplicationFrameHost.exe", "", 0}},
          {4, {"C:\\Program Files\\WindowsApps\\Mail\\HxOutlook.exe", "", 0}}},
         3, 4, "HxOutlook.exe", "C:\\Program Files\\WindowsApps\\Mail\\HxOutlook.exe"},
        {"a frame that tells nothing: named as it is",
         {{1, self}, {2, launcher}, {3, {"C:\\Windows\\System32\\ApplicationFrameHost.exe", "", 0}}}, 3, 0,
         "ApplicationFrameHost.exe", "C:\\Windows\\System32\\ApplicationFrameHost.exe"},
        {"a web view: the program that started it",
         {{1, self}, {2, launcher},
          {3, {"C:\\EdgeWebView\\msedgewebview2.exe", "", 4}},
          {4, {"C:\\EdgeWebView\\msedgewebview2.exe", "", 5}},
          {5, {"C:\\Apps\\Chat\\chat.exe", "chat.exe", 0}}},
         3, 0, "chat.exe", "C:\\Apps\\Chat\\chat.exe"},
        {"a broker tells nothing", {{1, {tavrin, "", 2}}, {2, {"C:\\Windows\\System32\\RuntimeBroker.exe", "", 0}}},
         0, 0, "RuntimeBroker.exe", "C:\\Windows\\System32\\RuntimeBroker.exe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeProcesses q;
        q.table = c.table;
        q.front = c.front;
        q.framed = c.framed;
        const SourceProgram s = decideSourceProgram(q, tavrin);
        EXPECT_EQ(s.name, c.name);
        EXPECT_EQ(s.path, c.path);
    }
}

TEST(SourceDecision, ShellProgramsFoldAsciiCaseOnly) {
    EXPECT_TRUE(isShellProgram("EXPLORER.EXE"));
    EXPECT_TRUE(isShellProgram("WindowsTerminal.exe"));
    EXPECT_FALSE(isShellProgram("explorer2.exe"));
    EXPECT_FALSE(isShellProgram(""));
}

// A name cut at half a character, or ending in blanks, is named as it
// reads back from a hand-off: no blank and no half character at its end.
TEST(SourceDecision, NamesSettleAtTheirEnd) {
    const struct {
        const char* given;
        const char* name;
    } cases[] = {
        {"mailer.exe  ", "mailer.exe"},
        {"mail \xe4", "mail"},              // half a character, then a blank
        {"m\xdc\x8a \xe4", "m\xdc"},       // and then half a character again
        {"\x95\x5c.exe \x81", "\x95\x5c.exe"},
    };
    for (const auto& c : cases) {
        const SourceProgram source = sourceProgramFrom(c.given);
        EXPECT_EQ(source.name, c.name) << c.given;
        HandOff sent;
        sent.payload = "http://a.example/";
        sent.source = source;
        const std::string data = handOffRecordData(sent);
        EXPECT_EQ(readHandOffRecord(data).source.name, source.name) << c.given;
    }
}

// The record as the one field of today's running copies reads it: the
// payload up to the first zero.
std::string payloadAsReadToday(const std::string& data) { return data.substr(0, data.find('\0')); }

TEST(HandOffRecord, OldAndNewFormatsReadEachOther) {
    HandOff sent;
    sent.payload = "/#k=ctl http://a.example/\x95\x5c.html";
    sent.source = sourceProgramFrom("C:\\Apps\\\x95\x5c\\mailer.exe");
    const std::string data = handOffRecordData(sent);
    // Today's running copy reads exactly the payload from the new record.
    EXPECT_EQ(payloadAsReadToday(data), sent.payload);
    EXPECT_EQ(data.substr(0, sent.payload.size() + 1), sent.payload + std::string(1, '\0'));
    // The new one reads both.
    HandOffRecord read = readHandOffRecord(data);
    EXPECT_EQ(read.payload, sent.payload);
    EXPECT_EQ(read.source.name, "mailer.exe");
    EXPECT_EQ(read.source.path, "C:\\Apps\\\x95\x5c\\mailer.exe");

    // Today's records: the payload and its zero, or (from another program)
    // no zero at all; no source in either.
    for (const std::string& old : {"http://a.example/\0"s, "http://a.example/"s}) {
        read = readHandOffRecord(old);
        EXPECT_EQ(read.payload, "http://a.example/");
        EXPECT_FALSE(read.source.known());
    }
    // Without a source the record is today's exactly.
    HandOff plain;
    plain.payload = "http://b.example/";
    EXPECT_EQ(handOffRecordData(plain), "http://b.example/\0"s);
    // A name alone travels as the name.
    plain.source = SourceProgram{"mailer.exe", ""};
    read = readHandOffRecord(handOffRecordData(plain));
    EXPECT_EQ(read.source.name, "mailer.exe");
    EXPECT_EQ(read.source.path, "");
}

TEST(HandOffRecord, FieldsItDoesNotKnowAndCutFieldsArePassedOver) {
    const struct {
        std::string data, name;
    } cases[] = {
        {"u\0later=1\0source=C:\\m.exe\0"s, "m.exe"},
        {"u\0source=C:\\m.exe"s, ""},          // no closing zero
        {"u\0source=\0"s, ""},                 // empty
        {"u\0Source=C:\\m.exe\0"s, ""},        // keys are exact
        {"u\0\0\0source=C:\\x\\\0"s, ""},      // a folder
    };
    for (const auto& c : cases) {
        const HandOffRecord read = readHandOffRecord(c.data);
        EXPECT_EQ(read.payload, "u");
        EXPECT_EQ(read.source.name, c.name) << c.data.size();
    }
}

TEST(HandOffRecord, ASecondCopySendsTheSourceItDecided) {
    FakePlatform fake;
    settings = Settings{};
    runState = RunState{};
    linkSource = LinkSource{};
    urlList = UrlList{};
    runState.startSourceProgram = sourceProgramFrom("C:\\Apps\\mailer.exe");
    const HandOff h = prepareHandOff(nullptr, "http://a.example/x.html");
    ASSERT_TRUE(h.send);
    EXPECT_EQ(h.source.path, "C:\\Apps\\mailer.exe");
    runState = RunState{};
}

class ListUi final : public UiPort {
public:
    void showAssociationMenu(platform::WindowHandle, int, int) override {}
    bool createListWindow(platform::WindowHandle) override { return true; }
    void fillListView(int) override {}
    void closeWindow(platform::WindowHandle) override {}
};

// The rows of a hand-off keep its source; input that fails leaves the
// rows and their source as they were; dropped rows have none.
TEST(HandOffRows, KeepTheirSource) {
    FakePlatform fake;
    ListUi ui;
    UiPort* previousUi = installUi(&ui);
    TempDir dir;
    settings = Settings{};
    settings.schemeEnabled = {1, 1, 1, 1};
    settings.titleSeparator = "||";
    linkSource = LinkSource{};
    urlList = UrlList{};
    runState = RunState{};
    runState.listWindowActive = 1;
    runState.startSourceProgram = sourceProgramFrom("C:\\Apps\\launcher.exe");

    const SourceProgram mail = sourceProgramFrom("C:\\Apps\\mailer.exe");
    receiveHandOff(nullptr, 0, "http://a.example/1 http://a.example/2", mail);
    EXPECT_EQ(urlList.urlCount, 2);
    EXPECT_EQ(targetSource().path, mail.path);
    // A folder without shortcuts: the list and its source stay.
    receiveHandOff(nullptr, 0, dir.mkdir("empty"), sourceProgramFrom("C:\\Apps\\other.exe"));
    EXPECT_EQ(urlList.urlCount, 2);
    EXPECT_EQ(targetSource().path, mail.path);
    // Today's second copies tell no source.
    receiveHandOff(nullptr, 0, "http://b.example/");
    EXPECT_FALSE(targetSource().known());
    receiveHandOff(nullptr, 0, "http://a.example/1", mail);
    routeDroppedText(nullptr, "http://c.example/1 http://c.example/2");
    EXPECT_EQ(urlList.urlCount, 2);
    EXPECT_FALSE(targetSource().known());

    installUi(previousUi);
    runState = RunState{};
    urlList = UrlList{};
}

}  // namespace
