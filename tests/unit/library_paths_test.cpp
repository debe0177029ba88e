// The outside libraries are asked for by their full path in the program's
// folder, never by a bare name that the system would also look for in the
// current folder (wherever the user last browsed): the converters for
// every read file, the bridge for every query and hand-over.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/link_reading.h"
#include "bridge/bridge.h"
#include "common/app_state.h"
#include "common/url_list.h"
#include "platform/ui_port.h"
#include "settings/settings.h"
#include "tests/support/fake_platform.h"
#include "tests/support/temp_dir.h"

namespace {

class QuietUi final : public UiPort {
public:
    void showAssociationMenu(platform::WindowHandle, int, int) override {}
    bool createListWindow(platform::WindowHandle) override { return true; }
    void fillListView(int) override {}
    void closeWindow(platform::WindowHandle) override {}
};

class LibraryPaths : public ::testing::Test {
protected:
    void SetUp() override {
        previousUi = installUi(&ui);
        settings = Settings{};
        settings.schemeEnabled = {1, 1, 1, 1};
        settings.browserServices[0] = "Browser";
        settings.browserServiceCount = 1;
        linkSource = LinkSource{};
        savedFolder = programPaths.programFolder;
        programPaths.programFolder = "C:\\Program Files\\Tavrin\\";
    }
    void TearDown() override {
        programPaths.programFolder = savedFolder;
        linkSource = LinkSource{};
        installUi(previousUi);
    }

    FakePlatform fake;
    QuietUi ui;
    UiPort* previousUi = nullptr;
    TempDir dir;
    std::string savedFolder;
};

TEST_F(LibraryPaths, EveryLibraryComesFromTheProgramsFolder) {
    const std::string folder = "C:\\Program Files\\Tavrin\\";
    // Not yet code page 932 (UTF-8), so that the converter is wanted.
    const std::string page = dir.write("page.html", "<a href=\"http://h/x\">\xE6\x97\xA5</a>");
    using Action = std::function<void()>;
    struct Case {
        const char* what;
        bool nkf;  // nkf32.dll there and converting
        Action action;
        std::vector<std::string> paths;
    };
    const Case cases[] = {
        {"a page with nkf32.dll", true, [&] { readLinkSource(nullptr, page); }, {folder + "nkf32.dll"}},
        {"a page without it", false, [&] { readLinkSource(nullptr, page); },
         {folder + "nkf32.dll", folder + "jconv.dll"}},
        {"a page with conversion off", true,
         [&] {
             linkSource.kanjiConversion = 0;
             readLinkSource(nullptr, page);
         },
         {}},
        {"the browser's page", false, [] { getActiveBrowserUrl("", 0); }, {folder + "tvDDE.dll"}},
        {"a URL handed to the browser", false,
         [] {
             runState.currentTarget = "http://h/x";
             sendUrlToBrowser("", "C:\\viewer.exe");
         },
         {folder + "tvDDE.dll"}},
    };
    for (const Case& c : cases) {
        fake.libraryPaths.clear();
        fake.converters.clear();
        if (c.nkf) fake.converters["nkf32.dll"] = FakePlatform::Converter{};
        linkSource.kanjiConversion = 1;
        c.action();
        EXPECT_EQ(fake.libraryPaths, c.paths) << c.what;
    }
}

}  // namespace
