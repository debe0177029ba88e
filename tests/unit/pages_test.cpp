// The test pages under tests/pages stay true: every page and list file is
// read as its expected files say (mode, base URL, conversion) and gives
// exactly their rows and caption title; every shortcut folder gives its
// rows, subfolders first.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/link_reading.h"
#include "common/app_state.h"
#include "common/url_list.h"
#include "links/shortcut_folder.h"
#include "platform/ui_port.h"
#include "settings/settings.h"
#include "tests/support/fake_platform.h"
#include "tests/support/link_rows.h"
#include "tests/support/tally_ui.h"
#include "tests/support/utf8_step.h"

namespace fs = std::filesystem;

namespace {

const std::string pagesDir = TAVRIN_PAGES_DIR;

struct Expected {
    std::string file;
    std::map<std::string, std::string> header;  // "@mode" -> "1"
    std::vector<std::string> rows;              // kind, url, title (and folder) by tabs
};

Expected readExpected(const fs::path& path) {
    Expected e;
    e.file = path.filename().string();
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        if (line[0] == '@') {
            const std::size_t tab = line.find('\t');
            e.header[line.substr(0, tab)] = tab == std::string::npos ? "" : line.substr(tab + 1);
        } else {
            e.rows.push_back(line);
        }
    }
    return e;
}

std::vector<Expected> allExpected() {
    std::vector<Expected> all;
    for (const auto& entry : fs::directory_iterator(fs::path(pagesDir))) {
        const std::string name = entry.path().filename().string();
        if (name.size() > 13 && name.compare(name.size() - 13, 13, ".expected.tsv") == 0)
            all.push_back(readExpected(entry.path()));
    }
    std::sort(all.begin(), all.end(), [](const Expected& a, const Expected& b) { return a.file < b.file; });
    return all;
}

class Pages : public ::testing::Test {
protected:
    Settings saved = settings;
    FakePlatform fake;
    TallyUi silent{true};
    UiPort* previousUi = nullptr;
    void SetUp() override {
        settings = Settings{};
        settings.schemeEnabled = {1, 1, 1, 1};
        settings.titleSeparator = "||";
        previousUi = installUi(&silent);
    }
    void TearDown() override {
        installUi(previousUi);
        settings = saved;
        linkSource = LinkSource{};
        shortcutScan = ShortcutScan{};
    }

    // Reads the page as the expected file says, with the converter library
    // present or not and conversion on or off.
    void readPage(const Expected& e, bool converter, int conversion) {
        fake.converters.clear();
        if (converter) fake.converters["nkf32.dll"].convert = convertLikeNkf32;
        urlList = UrlList{};
        linkSource = LinkSource{};
        linkSource.kanjiConversion = conversion;
        linkSource.linkMode = std::stoi(e.header.at("@mode"));
        linkSource.baseUrl = e.header.count("@base") ? e.header.at("@base") : "";
        ASSERT_EQ(readLinkSource(nullptr, pagesDir + e.header.at("@page")), 1);
        EXPECT_EQ(linkSource.listTitle, e.header.at("@listTitle"));
        EXPECT_EQ(listRows(), e.rows);
    }
};

TEST_F(Pages, EveryPageGivesItsExpectedRows) {
    std::set<std::string> covered;
    int checked = 0;
    for (const Expected& e : allExpected()) {
        if (!e.header.count("@page")) continue;
        SCOPED_TRACE(e.file);
        covered.insert(e.header.at("@page"));
        const std::string conversion = e.header.at("@conversion");
        if (conversion == "on" || conversion == "any") readPage(e, true, 1);
        if (conversion == "off" || conversion == "any") {
            readPage(e, false, 1);  // no converter library
            readPage(e, true, 0);   // conversion switched off
        }
        ++checked;
    }
    EXPECT_GT(checked, 30);
    // Every page has an expected file.
    for (const auto& entry : fs::directory_iterator(fs::path(pagesDir))) {
        const std::string name = entry.path().filename().string();
        const std::string ext = entry.path().extension().string();
        if (entry.is_regular_file() && (ext == ".html" || ext == ".txt")) {
            EXPECT_TRUE(covered.count(name)) << name;
        }
    }
}

TEST_F(Pages, ShortcutFoldersGiveTheirRowsSubfoldersFirst) {
    int checked = 0;
    for (const Expected& e : allExpected()) {
        if (!e.header.count("@folder")) continue;
        SCOPED_TRACE(e.file);
        urlList = UrlList{};
        shortcutScan = ShortcutScan{};
        shortcutScan.includeSubfolders = std::stoi(e.header.at("@subfolders"));
        collectShortcuts(nullptr, pagesDir + e.header.at("@folder"));
        urlList.urlCount = shortcutScan.shortcutCount;

        // Rows of one folder come in listing order; folders in the order
        // of the expected file.
        std::map<std::string, std::size_t> folderOf;
        std::vector<std::string> folders, want;
        for (const std::string& row : e.rows) {
            const std::size_t tab = row.rfind('\t');
            const std::string folder = row.substr(tab + 1);
            if (folders.empty() || folders.back() != folder) folders.push_back(folder);
            folderOf[row.substr(0, tab)] = folders.size() - 1;
            want.push_back(row.substr(0, tab));
        }
        std::vector<std::string> got = listRows();
        std::size_t lastFolder = 0;
        for (const std::string& row : got) {
            ASSERT_TRUE(folderOf.count(row)) << row;
            EXPECT_GE(folderOf[row], lastFolder) << row;
            lastFolder = folderOf[row];
        }
        std::sort(got.begin(), got.end());
        std::sort(want.begin(), want.end());
        EXPECT_EQ(got, want);
        ++checked;
    }
    EXPECT_EQ(checked, 3);
}

}  // namespace
