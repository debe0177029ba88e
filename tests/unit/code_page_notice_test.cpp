// The box a first copy shows where the system reads its texts in another
// code page than 932, forced through the platform's report of the code
// page.
#include <gtest/gtest.h>

#include <string>

#include "app/code_page_notice.h"
#include "tests/support/fake_platform.h"

namespace {

TEST(CodePageNotice, OneBoxInBothLanguagesNamingTheSetting) {
    struct Row {
        unsigned codePage;
        bool shown;
        std::string japanese, english;  // the setting and what to do
    };
    const Row rows[] = {
        {932, false, "", ""},
        {65001, true, "「ベータ: ワールドワイド言語サポートで Unicode UTF-8 を使用」",
         "\"Beta: Use Unicode UTF-8 for worldwide language support\" is on"},
        {1252, true, "Unicode 対応ではないプログラムの言語が日本語ではない（コード ページ 1252）",
         "Choose \"Japanese (Japan)\" in Control Panel > Region > Administrative > Change system locale"},
        {936, true, "（コード ページ 936）", "(code page 936)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.codePage);
        FakePlatform fake;
        fake.systemCodePage = row.codePage;
        EXPECT_EQ(warnOfForeignCodePage(nullptr), row.shown);
        ASSERT_EQ(fake.messages.size(), row.shown ? 1u : 0u);
        if (!row.shown) continue;
        const FakePlatform::Shown& box = fake.messages[0];
        EXPECT_EQ(box.caption, "注意 / Caution");
        EXPECT_EQ(box.flags, platform::mbOk | platform::mbIconWarning);
        EXPECT_NE(box.text.find(row.japanese), std::string::npos) << box.text;
        EXPECT_NE(box.text.find(row.english), std::string::npos) << box.text;
        EXPECT_NE(box.text.find("Tavrin carries on."), std::string::npos) << box.text;
    }
}

}  // namespace
