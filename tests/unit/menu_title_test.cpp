// The title item's text: fallback for short titles, the length limit, the
// count of further targets, "&" in titles, and the cut of long titles.
#include <gtest/gtest.h>

#include <string>

#include "common/app_state.h"
#include "common/url_list.h"
#include "menu/menu_title.h"
#include "settings/settings.h"
#include "tests/support/fake_platform.h"

namespace {

TEST(MenuTitle, Text) {
    struct Case {
        const char* name;
        std::string title, fallback;
        int titleLength, urlCount;
        std::string want;
    };
    const std::string forty = "http://host/0123456789/abcdefghij/x.html";  // 40 characters
    const Case cases[] = {
        {"one target", "http://h/a.html", "", 0, 1, "http://h/a.html ( &0 )"},
        {"three targets", "http://h/a.html", "", 0, 3, "http://h/a.html [ +2 ] ( &0 )"},
        {"no targets counts as one", "Page", "", 0, 0, "Page ( &0 )"},
        {"two characters fall back", "ab", "http://h/a", 0, 1, "http://h/a ( &0 )"},
        {"three characters stay", "abc", "http://h/a", 0, 1, "abc ( &0 )"},
        {"last ten characters", forty, "", 10, 1, "hij/x.html ( &0 )"},
        {"a limit above the length keeps all", "short title", "", 50, 1, "short title ( &0 )"},
        {"the limit applies to the fallback too", "", "http://host/long/path", 9, 1, "long/path ( &0 )"},
        {"the cut never starts on a trail byte", "ab表示", "", 3, 1, "示 ( &0 )"},
        {"an ampersand shows as itself", "http://h/?a=1&b=2", "", 0, 1, "http://h/?a=1&&b=2 ( &0 )"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(titleItemTextFor(c.title, c.fallback, c.titleLength, c.urlCount), c.want) << c.name;
}

TEST(MenuTitle, LongTitlesFitTheItem) {
    struct Case {
        const char* name;
        std::string title;
        int urlCount;
        std::string tail;
    };
    const Case cases[] = {
        {"1,000 characters", std::string(1000, 'x'), 1, "xxx... ( &0 )"},
        {"with a count", std::string(1000, 'x'), 12, "x... [ +11 ] ( &0 )"},
        {"double-byte characters are not split", "a" + std::string(600, '\x95') , 1, "... ( &0 )"},
        {"a doubled & is not split", std::string(300, '&'), 1, "&&... ( &0 )"},
        {"exactly fitting needs no cut", std::string(252, 'y'), 1, "yyy ( &0 )"},
    };
    for (const Case& c : cases) {
        const std::string got = titleItemTextFor(c.title, "", 0, c.urlCount);
        EXPECT_LE(got.size(), titleItemCapacity - 1) << c.name;
        EXPECT_EQ(got.substr(got.size() - c.tail.size()), c.tail) << c.name;
    }
    EXPECT_EQ(titleItemTextFor(std::string(252, 'y'), "", 0, 1).size(), 259u);
    // Lead and trail bytes pair up from the start: "a" then 300 pairs.
    const std::string japanese = titleItemTextFor("a" + std::string(600, '\x95'), "", 0, 1);
    EXPECT_EQ((japanese.size() - std::string("a... ( &0 )").size()) % 2, 0u);
    // An odd run of "&" before the cut would make "." the item's key.
    const std::string amps = titleItemTextFor(std::string(300, '&'), "", 0, 1);
    EXPECT_EQ((amps.size() - std::string("... ( &0 )").size()) % 2, 0u);
}

TEST(MenuTitle, FromTheSettingsAndTheTarget) {
    FakePlatform fake;
    settings = Settings{};
    runState.currentTarget = "http://host/dir/page.html?q=1#top";
    urlList.urlCount = 2;
    struct Case {
        std::string templateText;
        int titleLength;
        std::string want;
    };
    const Case cases[] = {
        {"%L", 0, "http://host/dir/page.html?q=1#top [ +1 ] ( &0 )"},
        {"%G%K", 0, "hostpage.html [ +1 ] ( &0 )"},
        {"%H", 0, "http://host/dir/page.html?q=1 [ +1 ] ( &0 )"},
        {"Go %J", 5, ".html [ +1 ] ( &0 )"},
        {"%S %L", 0, "%S http://host/dir/page.html?q=1#top [ +1 ] ( &0 )"},
    };
    for (const Case& c : cases) {
        settings.menuTitle = c.templateText;
        settings.titleLength = c.titleLength;
        EXPECT_EQ(associationMenuTitle(), c.want) << c.templateText;
    }
    urlList.urlCount = 0;
}

}  // namespace
