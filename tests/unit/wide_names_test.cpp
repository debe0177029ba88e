// Names that come back from the system wide, as the program names them:
// a part code page 932 cannot hold is reached by its short name where the
// system has one, and the path is named for the box where it has none.
// Natively there are no short names; under Wine the system makes them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "common/unopenable_names.h"
#include "platform/platform.h"
#include "tests/support/temp_dir.h"

#ifdef _WIN32
#include "platform/win32/code_page.h"
#endif

namespace {

namespace fs = std::filesystem;

platform::Platform& real() { return platform::nativePlatform(); }

class WideNames : public ::testing::Test {
protected:
    void SetUp() override { clearUnopenableNames(); }
    void TearDown() override { clearUnopenableNames(); }

    // The wide form of a path in the scratch folder; the folders on the way
    // are made.
    std::u16string made(const std::u16string& folders, const std::u16string& file = u"") {
        const fs::path base(dir.path());
        fs::create_directories(base / fs::path(folders));
        const fs::path full = base / fs::path(folders) / fs::path(file);
        if (!file.empty()) std::ofstream(full, std::ios::binary) << "x";
        return full.u16string();
    }
    TempDir dir;
};

TEST_F(WideNames, WhatTheCodePageHoldsKeepsItsBytes) {
    std::string name;
    const std::u16string wide = made(u"表示 ソフト", u"a.txt");
    ASSERT_TRUE(real().wideName(wide, name));
    EXPECT_EQ(name, dir.path() + "表示 ソフト" + (dir.path().back() == '/' ? "/" : "\\") + "a.txt");
#ifdef _WIN32
    // (Natively the file system's names are UTF-8, not these bytes.)
    EXPECT_TRUE(real().fileExists(name));
#endif
    EXPECT_EQ(unopenableNames.count, 0);
}

TEST_F(WideNames, ANameWithoutAShortOneIsNamedForTheBox) {
    // A file not made yet has no short name anywhere.
    std::string name;
    const std::u16string wide = made(u"plain") + u"Café new.txt";
    EXPECT_FALSE(real().wideName(wide, name));
    EXPECT_EQ(name.substr(name.size() - 12), "Caf? new.txt");
    EXPECT_EQ(unopenableNames.count, 1);
    EXPECT_EQ(unopenableNames.first, name);
}

#ifdef _WIN32

TEST_F(WideNames, PartsTheCodePageLacksGoByTheirShortNames) {
    // "¥" would become a backslash by best fit, "é" an "e".
    for (const std::u16string folders : {u"Café\\app", u"¥\\表示", u"a\\Ñandú – 東京"}) {
        const std::u16string wide = made(folders, u"Tavrin.ini");
        std::string name;
        ASSERT_TRUE(real().wideName(wide, name)) << name;
        EXPECT_EQ(name.find('?'), std::string::npos) << name;
        std::string text;
        EXPECT_TRUE(real().readFile(name, text, 10, false)) << name;
        EXPECT_EQ(text, "x");
        // Parts the code page holds keep their long names.
        EXPECT_EQ(name.compare(0, dir.path().size(), dir.path()), 0) << name;
        EXPECT_EQ(name.substr(name.size() - 11), "\\Tavrin.ini");
    }
    EXPECT_EQ(unopenableNames.count, 0);
}

TEST_F(WideNames, SearchAndFullPathResultsAreReachable) {
    const std::u16string wide = made(u"Café", u"rec.exe");
    std::string folder;
    ASSERT_TRUE(real().wideName(wide.substr(0, wide.size() - 7), folder));
    std::string found;
    ASSERT_TRUE(real().searchPath(&folder, "rec.exe", found));
    EXPECT_EQ(found, folder + "rec.exe");
    ASSERT_TRUE(real().fullPathName(folder + "rec.exe", found));
    EXPECT_EQ(found, folder + "rec.exe");
    EXPECT_TRUE(real().fileExists(found));
}

TEST(CodePage, OneConversionWithoutLookAlikes) {
    struct Row {
        std::u16string wide;
        bool held;
        std::string bytes, shown;
    };
    const Row rows[] = {
        {u"東京 ｱ ～", true, "東京 ｱ ～", "東京 ｱ ～"},
        {u"Café", false, "", "Caf?"},
        {u"C:\\¥\\x", false, "", "C:\\?\\x"},
        {u"〜", false, "", "?"},                    // U+301C: the code page's is U+FF5E
        {u"a😀b", false, "", "a?b"},                // a surrogate pair is one character
        {std::u16string(u"a\xD800", 2), false, "", "a?"},
        {u"", true, "", ""},
    };
    for (const Row& row : rows) {
        std::string out = "<";
        EXPECT_EQ(platform::cp932FromWide(row.wide, out), row.held);
        EXPECT_EQ(out, "<" + row.bytes);
        EXPECT_EQ(platform::cp932Shown(row.wide), row.shown);
    }
    EXPECT_EQ(platform::wideFromCp932("東京 ｱ ～\x81"), std::u16string(u"東京 ｱ ～\u30FB"));
}

#else

TEST_F(WideNames, NoShortNamesHere) {
    std::string name;
    const std::u16string wide = made(u"Café", u"Tavrin.ini");
    EXPECT_FALSE(real().wideName(wide, name));
    EXPECT_NE(name.find("Caf?"), std::string::npos) << name;
    EXPECT_EQ(unopenableNames.count, 1);
}

#endif

}  // namespace
