// The notes of a page's tags answer as a search from the same position
// would: for every kind, from every position, on pages of look-alikes,
// mixed case, double-byte characters, openings cut by the page's end, and
// more of each kind than the notes hold.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "common/text.h"
#include "links/page_tags.h"

namespace {

const PageTags::Kind kinds[] = {PageTags::AnchorStart, PageTags::AnchorEnd, PageTags::ImageStart,
                                PageTags::TitleStart, PageTags::BaseStart};

void expectLikeSearch(const std::string& page, const char* name) {
    const PageTags tags(page);
    for (PageTags::Kind kind : kinds) {
        const std::string_view opening = PageTags::opening(kind);
        std::size_t want = text::findNoCase(page, opening, page.size() + 1);
        // From the end backwards: each answer is the last one or the
        // position itself.
        for (std::size_t from = page.size() + 1; from-- > 0;) {
            if (text::startsWithNoCase(std::string_view(page).substr(from), opening)) want = from;
            ASSERT_EQ(tags.find(kind, from), want) << name << ": " << opening << " from " << from;
        }
    }
}

TEST(PageTags, FindsWhatASearchFinds) {
    struct Case {
        const char* name;
        std::string page;
    } cases[] = {
        {"empty", ""},
        {"openings cut at the end", "x<a"},
        {"each kind, any case", "<A x><a b></A><img s><IMG s><TiTlE>t</title><BASE HREF=\"u\"><base href='v'>"},
        {"look-alikes", "<abbr></abbr><area><aside></a ><a\n><im><imgx><titles<basement<base href=x</A"},
        {"after lead bytes", "\x82<a \x95<img \x81</a>\x83<title>\x88<base href=\"x\""},
        {"case bit set by other bytes", "\x1c" "a \x1c/a>\x1ci\x1d<\x01 <A\x01x"},
    };
    for (const Case& c : cases) expectLikeSearch(c.page, c.name);

    // Blocks of any alignment and more of each kind than are noted.
    std::mt19937 random(23);
    const char* pieces[] = {"<a ", "<A ", "</a>", "</A>", "<img ", "<IMG ", "<title>", "<base href=\"", "<",
                            "<a", "</a", "<im", "<b>", "x", "\x82", "  "};
    for (int round = 0; round < 40; ++round) {
        std::string page;
        const int count = round < 4 ? 30000 : static_cast<int>(random() % 300);
        for (int i = 0; i < count; ++i) page += pieces[random() % (round < 4 ? 4 + round % 4 : 16)];
        expectLikeSearch(page, "random");
    }
}

}  // namespace
