// One thing at a time: input that arrives while work runs waits, whole, and
// is routed in order once the work ends, each input as work of its own;
// routed from the queue it ends as it would have had it arrived idle.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/input_queue.h"
#include "app/queued_routes.h"
#include "app/recognize.h"
#include "common/app_state.h"
#include "common/url_list.h"
#include "platform/ui_port.h"
#include "settings/settings.h"
#include "tests/support/fake_platform.h"
#include "tests/support/temp_dir.h"

namespace {

class QueueUi final : public UiPort {
public:
    void showAssociationMenu(platform::WindowHandle, int, int) override {}
    bool createListWindow(platform::WindowHandle) override { return true; }
    void fillListView(int captionOnly) override {
        if (captionOnly != 0) return;
        std::string first = urlList.urlCount > 0 ? urlList.entries[0].url : "";
        fills.push_back(first + " x" + std::to_string(urlList.urlCount));
        if (duringFill) duringFill();
        workSeen.push_back(workInProgress());
    }
    void closeWindow(platform::WindowHandle) override { ++closed; }
    void queuedInputWaiting(platform::WindowHandle) override { ++wakes; }

    std::vector<std::string> fills;
    std::vector<bool> workSeen;
    std::function<void()> duringFill;
    int closed = 0, wakes = 0;
};

QueuedInput input(InputKind kind, std::string text, unsigned code = 0) {
    QueuedInput in;
    in.kind = kind;
    in.text = std::move(text);
    in.transferCode = code;
    return in;
}

class InputQueueTest : public ::testing::Test {
protected:
    void SetUp() override {
        previousUi = installUi(&ui);
        clearQueuedInput();
        settings = Settings{};
        settings.schemeEnabled = {1, 1, 1, 1};
        settings.titleSeparator = "||";
        settings.pageExtensions[0] = ".html";
        settings.pageExtensionCount = 1;
        linkSource = LinkSource{};
        programPaths.programFolder = dir.path();
        runState.listWindowActive = 1;
        urlList.urlCount = 0;
    }
    void TearDown() override {
        clearQueuedInput();
        runState.listWindowActive = 0;
        programPaths.startFolder.clear();
        installUi(previousUi);
    }

    FakePlatform fake;
    QueueUi ui;
    UiPort* previousUi = nullptr;
    TempDir dir;
};

TEST_F(InputQueueTest, WaitingInputIsRoutedInTheOrderItCame) {
    {
        WorkScope running;
        ASSERT_TRUE(queueInput(input(InputKind::textDrop, "http://d/1.html http://d/2.html")));
        ASSERT_TRUE(queueInput(input(InputKind::handOff, "http://h/1.html http://h/2.html http://h/3.html")));
        ASSERT_TRUE(queueInput(input(InputKind::clipboard, "http://c/1.html\r\nhttp://c/2.html")));
        // Nothing is taken up while work runs, and the window layer hears
        // of the waiting input only once the outermost work has ended.
        runQueuedInput(nullptr);
        {
            WorkScope inner;
        }
        EXPECT_TRUE(ui.fills.empty());
        EXPECT_EQ(ui.wakes, 0);
        EXPECT_FALSE(queuedWorkWaiting());
    }
    EXPECT_EQ(ui.wakes, 1);
    EXPECT_TRUE(queuedWorkWaiting());
    runQueuedInput(nullptr);
    EXPECT_FALSE(queuedWorkWaiting());
    EXPECT_EQ(ui.fills, (std::vector<std::string>{"http://d/1.html x2", "http://h/1.html x3",
                                                  "http://c/1.html x2"}));
    EXPECT_EQ(ui.workSeen, (std::vector<bool>{true, true, true}));  // each as work of its own
    EXPECT_EQ(queuedInputCount(), 0u);
}

TEST_F(InputQueueTest, InputArrivingDuringARouteWaitsForItsEnd) {
    // While the first input's rows are being filled (its download, its
    // box), a hand-off arrives: it is routed after, never inside.
    int depth = 0, deepest = 0;
    ui.duringFill = [&] {
        deepest = std::max(deepest, ++depth);
        if (ui.fills.size() == 1) queueInput(input(InputKind::handOff, "http://late/1.html http://late/2.html"));
        --depth;
    };
    queueInput(input(InputKind::textDrop, "http://first/1.html http://first/2.html"));
    runQueuedInput(nullptr);
    EXPECT_EQ(ui.fills, (std::vector<std::string>{"http://first/1.html x2", "http://late/1.html x2"}));
    EXPECT_EQ(deepest, 1);
}

TEST_F(InputQueueTest, TheQueueIsBoundedAndACloseWaitsForTheWork) {
    for (std::size_t i = 0; i < maxQueuedInputs; ++i)
        EXPECT_TRUE(queueInput(input(InputKind::handOff, "http://x/" + std::to_string(i))));
    EXPECT_FALSE(queueInput(input(InputKind::handOff, "http://x/one-too-many")));
    clearQueuedInput();
    {
        WorkScope running;
        requestCloseWhenIdle();
    }
    EXPECT_EQ(ui.wakes, 1);
    EXPECT_EQ(ui.closed, 0);
    EXPECT_TRUE(queuedWorkWaiting());  // a close alone has the loop take it up
    runQueuedInput(nullptr);
    EXPECT_EQ(ui.closed, 1);
    EXPECT_FALSE(queuedWorkWaiting());
    runQueuedInput(nullptr);
    EXPECT_EQ(ui.closed, 1);  // once
}

TEST_F(InputQueueTest, QueuedInputEndsAsInputThatCameIdle) {
    // The routing table holds for queued input: a hand-off with a code no
    // copy sends is ignored, a hidden window takes no hand-off, a text drop
    // naming nothing lists nothing, a folder dropped with Ctrl held at the
    // drop lists its subfolders' shortcuts too.
    const std::string folder = dir.mkdir("links");
    dir.write("links/top.url", "[InternetShortcut]\r\nURL=http://s/top.html\r\n");
    dir.mkdir("links/sub");
    dir.write("links/sub/deep.url", "[InternetShortcut]\r\nURL=http://s/deep.html\r\n");
    struct Case {
        const char* what;
        QueuedInput in;
        int listActive;
        int rows;  // urlCount afterwards; -1: the list was not rebuilt
    };
    QueuedInput ctrlDrop = input(InputKind::fileDrop, folder);
    ctrlDrop.ctrl = 1;
    QueuedInput plainDrop = ctrlDrop;
    plainDrop.ctrl = 0;
    const Case cases[] = {
        {"code out of range", input(InputKind::handOff, "http://a/ http://b/", 5), 1, -1},
        {"hidden window", input(InputKind::handOff, "http://a/ http://b/"), 0, -1},
        {"text naming nothing", input(InputKind::textDrop, "no address"), 1, 0},
        {"folder with Ctrl", ctrlDrop, 1, 2},
        {"folder without Ctrl", plainDrop, 1, 1},
    };
    for (const Case& c : cases) {
        ui.fills.clear();
        runState.listWindowActive = c.listActive;
        urlList.urlCount = 0;
        queueInput(c.in);
        runQueuedInput(nullptr);
        if (c.rows < 0) {
            EXPECT_TRUE(ui.fills.empty()) << c.what;
        } else {
            ASSERT_EQ(ui.fills.size(), 1u) << c.what;
            EXPECT_EQ(urlList.urlCount, c.rows) << c.what;
        }
    }
}

TEST_F(InputQueueTest, RelativeNamesAreTakenBesideTheStartFolder) {
    // The current folder is the program's own; a relative name the user
    // gave means what it meant where the program started, and is kept in
    // full.
    TempDir start;
    start.write("page.html", "<a href=\"http://p/1.html\">One</a>");
    programPaths.startFolder = start.path();
    EXPECT_EQ(recognizeInput("page.html", 0, 1), recognizedHtmlFile);
    EXPECT_EQ(urlList.entries[0].url, start.file("page.html"));
    EXPECT_EQ(recognizeInput(start.file("page.html"), 0, 1), recognizedHtmlFile);
    EXPECT_EQ(urlList.entries[0].url, start.file("page.html"));
    // A name checked without the file system stays a word.
    EXPECT_EQ(recognizeInput("page.html", 0, 0), recognizedUrls);
}

}  // namespace
