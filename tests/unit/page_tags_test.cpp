// The notes of a page's tags: which bytes open an anchor, an image or a
// base element (a blank, tab, CR or LF after the name, any case; never a
// look-alike name; never an opening cut by the page's end), and the notes
// answering as a search from the same position would, for every kind,
// from every position, on pages of look-alikes, mixed case, double-byte
// characters, and more of each kind than the notes hold.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "common/text.h"
#include "links/page_tags.h"

namespace {

const PageTags::Kind kinds[] = {PageTags::AnchorStart, PageTags::AnchorEnd, PageTags::ImageStart,
                                PageTags::TitleStart, PageTags::BaseStart};

TEST(PageTags, Openings) {
    struct Case {
        std::string page;
        PageTags::Kind kind;
        std::size_t length;  // of the opening at the page's start; 0: none
    } cases[] = {
        {"<a href=x>", PageTags::AnchorStart, 3},
        {"<a\thref=x>", PageTags::AnchorStart, 3},
        {"<a\rhref=x>", PageTags::AnchorStart, 3},
        {"<a\nhref=x>", PageTags::AnchorStart, 3},
        {"<a\r\nhref=x>", PageTags::AnchorStart, 3},
        {"<A \t\r\n  HREF=x>", PageTags::AnchorStart, 3},
        {"<a\fhref=x>", PageTags::AnchorStart, 0},
        {"<a>", PageTags::AnchorStart, 0},
        {"<abbr title=x>", PageTags::AnchorStart, 0},
        {"<address>", PageTags::AnchorStart, 0},
        {"<area href=x>", PageTags::AnchorStart, 0},
        {"<a", PageTags::AnchorStart, 0},
        {"<a\x01href=x>", PageTags::AnchorStart, 0},
        {"<img src=x>", PageTags::ImageStart, 5},
        {"<IMG\tSRC=x>", PageTags::ImageStart, 5},
        {"<iMg\r\n\tsrc=x>", PageTags::ImageStart, 5},
        {"<image src=x>", PageTags::ImageStart, 0},
        {"<imgx src=x>", PageTags::ImageStart, 0},
        {"<img", PageTags::ImageStart, 0},
        {"<img>", PageTags::ImageStart, 0},
        {"<base href=\"u\">", PageTags::BaseStart, 12},
        {"<BASE\tHREF=\"u\">", PageTags::BaseStart, 12},
        {"<base\r\nhref=\"u\">", PageTags::BaseStart, 13},
        {"<base \n\t  href=\"u\">", PageTags::BaseStart, 16},
        {"<base href='u'>", PageTags::BaseStart, 0},
        {"<base href =\"u\">", PageTags::BaseStart, 0},
        {"<base target=_top href=\"u\">", PageTags::BaseStart, 0},
        {"<basefont href=\"u\">", PageTags::BaseStart, 0},
        {"<basehref=\"u\">", PageTags::BaseStart, 0},
        {"<base\n", PageTags::BaseStart, 0},
        {"<base\nhref=", PageTags::BaseStart, 0},
        {"</a>", PageTags::AnchorEnd, 4},
        {"</A >", PageTags::AnchorEnd, 0},
        {"</abbr>", PageTags::AnchorEnd, 0},
        {"<TITLE>", PageTags::TitleStart, 7},
        {"<title\n>", PageTags::TitleStart, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PageTags::openingAt(c.page, 0, c.kind), c.length) << c.page;
        // The notes and the search find it there, after any other bytes,
        // and not at all when it is none.
        const std::string page = "x\x82<" + c.page;
        const std::size_t want = c.length ? 3 : text::npos;
        EXPECT_EQ(PageTags(page).find(c.kind, 0), want) << c.page;
        EXPECT_EQ(PageTags::search(page, c.kind, 0), want) << c.page;
    }
}

void expectLikeSearch(const std::string& page, const char* name) {
    const PageTags tags(page);
    for (PageTags::Kind kind : kinds) {
        std::size_t want = text::npos;
        // From the end backwards: each answer is the last one or the
        // position itself.
        for (std::size_t from = page.size() + 1; from-- > 0;) {
            if (from < page.size() && PageTags::openingAt(page, from, kind) != 0) want = from;
            ASSERT_EQ(tags.find(kind, from), want) << name << ": kind " << kind << " from " << from;
            // (A search may read to the page's end: now and then.)
            if (from % (page.size() > 100000 ? 9973 : 97) == 0) {
                ASSERT_EQ(PageTags::search(page, kind, from), want) << name << ": search";
            }
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
        {"look-alikes", "<abbr></abbr><area><aside></a ><a\f><im><imgx><titles<basement<base href=x</A"},
        {"blanks and line ends", "<a\tx><A\ry><a\nz><img\r\n><IMG\t><base\r\n href=\"u\"><a\x1f>"},
        {"after lead bytes", "\x82<a \x95<img \x81</a>\x83<title>\x88<base href=\"x\"\x95<a\n"},
        {"case bit set by other bytes", "\x1c" "a \x1c/a>\x1ci\x1d<\x01 <A\x01x<A)<a*<a-<a\x09"},
    };
    for (const Case& c : cases) expectLikeSearch(c.page, c.name);

    // Blocks of any alignment and more of each kind than are noted.
    std::mt19937 random(23);
    const char* pieces[] = {"<a ", "<A\t", "</a>", "<a\n", "</A>", "<img\r", "<IMG ", "<title>", "<base href=\"",
                            "<", "<a", "</a", "<im", "<b>", "x", "\x82", "  ", "<base\n\thref=\"", "<abbr>",
                            "\r\n"};
    for (int round = 0; round < 40; ++round) {
        std::string page;
        const int count = round < 4 ? (round < 2 ? 300000 : 30000) : static_cast<int>(random() % 300);
        for (int i = 0; i < count; ++i) page += pieces[random() % (round < 4 ? 2 + round : 20)];
        expectLikeSearch(page, "random");
    }
}

}  // namespace
