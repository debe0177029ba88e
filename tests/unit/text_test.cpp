// Capacity cuts, ASCII-only case folding, path splitting and separators on
// CP932 text.
#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <vector>

#include "common/path_ops.h"
#include "common/split_path.h"
#include "common/text.h"

namespace {

// "表" is 0x95 0x5C: its trail byte is a backslash. "ア" (katakana, 0x83 0x41)
// has the trail byte 'A'.
const std::string hyo = "\x95\x5c";
const std::string kataA = "\x83\x41";

TEST(TextCut, HoldsCapacityMinusOneAndNeverSplitsACharacter) {
    struct Case { std::string src; std::size_t capacity; std::string want; };
    const Case cases[] = {
        {"abcdef", 4, "abc"},
        {"abc", 4, "abc"},
        {"abc", 1, ""},
        {"ab" + hyo, 4, "ab"},             // the double-byte char would need 2 more
        {"a" + hyo, 4, "a" + hyo},
        {"ab\x95", 10, "ab"},               // dangling lead byte at the end
        {std::string(259, 'x') + "y", 260, std::string(259, 'x')},
    };
    for (const auto& c : cases) EXPECT_EQ(text::cut(c.src, c.capacity), c.want) << c.src;
}

TEST(TextSearch, FoldsAsciiOnlyAndRespectsCharacterBoundaries) {
    EXPECT_EQ(text::findNoCase("xxHTTP://a", "http://"), 2u);
    // 'A' as a trail byte must not match "a" or "A".
    EXPECT_EQ(text::findNoCase(kataA, "a"), text::npos);
    EXPECT_EQ(text::findNoCase(kataA + "a", "A"), 2u);
    // A backslash trail byte is not a separator.
    EXPECT_EQ(text::findByte(hyo + "\\", '\\'), 2u);
    // Non-ASCII bytes compare exactly.
    EXPECT_TRUE(text::equalsNoCase("\x82\x60", "\x82\x60"));
    EXPECT_FALSE(text::equalsNoCase("\x82\x60", "\x82\x81"));
    EXPECT_TRUE(text::startsWithNoCase("[SYSTEM]x", "[system]"));
    EXPECT_EQ(text::findNoCase("abc", ""), text::npos);
}

// The character walk the candidate search must agree with, position by
// position: try every character start, step over double-byte characters.
std::size_t walkFind(std::string_view hay, std::string_view needle, std::size_t from) {
    if (needle.empty()) return text::npos;
    for (std::size_t i = from; i + needle.size() <= hay.size();) {
        bool match = true;
        for (std::size_t j = 0; j < needle.size() && match; ++j) {
            unsigned char a = static_cast<unsigned char>(hay[i + j]);
            unsigned char b = static_cast<unsigned char>(needle[j]);
            if (text::isLeadByte(b) && j + 1 < needle.size()) {
                match = a == b && hay[i + j + 1] == needle[j + 1];
                ++j;
            } else {
                auto fold = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
                match = fold(a) == fold(b);
            }
        }
        if (match) return i;
        i += text::charLength(hay, i);
    }
    return text::npos;
}

TEST(TextSearch, ALeadByteBeforeANonTrailByteStandsAlone) {
    // Text that is not CP932 (UTF-8 read unconverted) must not hide the
    // bytes the scans look for behind a lead byte.
    const std::string utf8Ran = "\xe8\xa6\xa7";  // lead, trail, then a lone lead byte
    EXPECT_EQ(text::findNoCase(utf8Ran + "</a>", "</a>"), 3u);
    EXPECT_EQ(text::findByte(utf8Ran + "\"x", '"'), 3u);
    EXPECT_EQ(text::findNoCase("\x95" "a", "a"), text::npos);  // 'a' is a trail byte
    EXPECT_EQ(text::findNoCase("\x95\x95" "a", "a"), 2u);
    EXPECT_EQ(text::charLength("\x95<", 0), 1u);
    EXPECT_EQ(text::charLength("\x95\x5c", 0), 2u);
    EXPECT_EQ(text::cut("ab\x95<", 4), "ab\x95");
}

TEST(TextSearch, CandidateSearchAgreesWithTheCharacterWalk) {
    // Texts dense in lead bytes, trail bytes that look like ASCII, and the
    // bytes the tag scan looks for.
    const std::string alphabet = "<aA>/ x\\\"" + std::string("\x82\x95\x83\xe0\x41\x3c\x7f\xfd", 8);
    const std::string needles[] = {"<a ", "</a>", "a", "A>", "\\", kataA, hyo + "<", "x<"};
    std::mt19937 random(8);
    for (int round = 0; round < 4000; ++round) {
        std::string hay;
        const int length = static_cast<int>(random() % 40);
        for (int i = 0; i < length; ++i) hay += alphabet[random() % alphabet.size()];
        for (const std::string& needle : needles) {
            std::size_t from = 0;
            while (from <= hay.size()) {
                std::size_t want = walkFind(hay, needle, from);
                ASSERT_EQ(text::findNoCase(hay, needle, from), want) << round << " " << needle;
                if (want == text::npos) break;
                // Go on from the next character start, as callers do.
                from = want + text::charLength(hay, want);
            }
        }
    }
}

// Long texts are searched a block of bytes at a time (16, or a machine
// word where there is no SSE2) and only block candidates compared in full:
// the result must not depend on where a match or a lead byte falls in a
// block, nor on the tail shorter than a block.
TEST(TextSearch, BlockSearchAgreesWithTheCharacterWalkAtEveryOffset) {
    struct Case { const char* name; std::string alphabet; int maxLength; };
    const Case cases[] = {
        {"tags in Shift_JIS", "<aA>/ ib\\\"=" + std::string("\x82\x95\x83\xe0\x41\x3c\x69\x61", 8), 90},
        {"runs of lead bytes", "<a " + std::string("\x81\x81\x81\x95\xfc\x61\x41", 7), 70},
        {"few candidates", "xyz. " + std::string(1, '<'), 130},
    };
    const std::string needles[] = {"<a ", "<img ", "</a>", "<base href=\"", "<title>", "<a", "href=",
                                   "alt=", "a", "<", kataA + "<", "A>a"};
    std::mt19937 random(23);
    for (const Case& c : cases) {
        for (int round = 0; round < 700; ++round) {
            std::string hay;
            const int length = static_cast<int>(random() % static_cast<unsigned>(c.maxLength));
            for (int i = 0; i < length; ++i) hay += c.alphabet[random() % c.alphabet.size()];
            // A whole needle now and then, at any offset.
            const std::string& planted = needles[random() % std::size(needles)];
            if (!hay.empty()) hay.insert(random() % hay.size(), planted);
            for (const std::string& needle : needles) {
                for (std::size_t from = 0; from <= hay.size(); from += text::charLength(hay + " ", from)) {
                    ASSERT_EQ(text::findNoCase(hay, needle, from), walkFind(hay, needle, from))
                        << c.name << " round " << round << " needle " << needle << " from " << from;
                }
            }
        }
    }
}

TEST(TextToInt, ReadsLikeStrToInt) {
    EXPECT_EQ(text::toInt("123abc"), 123);
    EXPECT_EQ(text::toInt("-5"), -5);
    EXPECT_EQ(text::toInt("abc"), 0);
    EXPECT_EQ(text::toInt(" 5"), 0);
    EXPECT_EQ(text::toInt("99999999999999"), 0x7fffffff);
}

TEST(SplitPath, Parts) {
    struct Case { std::string path, drive, dir, name, ext; };
    const Case cases[] = {
        {"C:\\Tools\\Tavrin.exe", "C:", "\\Tools\\", "Tavrin", ".exe"},
        {"/dir/page.html", "", "/dir/", "page", ".html"},
        {"/dir/", "", "/dir/", "", ""},
        {"a.b\\c", "", "a.b\\", "c", ""},
        {"..", "", "", "..", ""},
        {"C:\\x\\.", "C:", "\\x\\", ".", ""},
        {"C:\\" + hyo + "\\f.txt", "C:", "\\" + hyo + "\\", "f", ".txt"},
        {"C:\\a\\" + hyo, "C:", "\\a\\", hyo, ""},   // trail byte is no separator
        {"archive.tar.gz", "", "", "archive.tar", ".gz"},
    };
    for (const auto& c : cases) {
        PathParts p = splitPath(c.path);
        EXPECT_EQ(p.drive, c.drive) << c.path;
        EXPECT_EQ(p.directory, c.dir) << c.path;
        EXPECT_EQ(p.name, c.name) << c.path;
        EXPECT_EQ(p.extension, c.ext) << c.path;
    }
}

TEST(SplitPath, ReadsAtMost259Characters) {
    std::string longName = "C:\\" + std::string(300, 'n') + ".txt";
    PathParts p = splitPath(longName);
    EXPECT_EQ(p.extension, "");
    EXPECT_LE(p.name.size(), 255u);
}

}  // namespace

TEST(PathOps, WithoutTheTrailingSeparator) {
    struct Case {
        std::string in, out;
    };
    for (const Case& c : std::vector<Case>{
             {"C:\\Tools\\", "C:\\Tools"},
             {"C:\\Tools", "C:\\Tools"},
             {"/home/user/", "/home/user"},
             {"C:\\dir/", "C:\\dir"},
             // "表" ends in 0x5C: no separator of its own.
             {"C:\\表", "C:\\表"},
             {"C:\\表\\", "C:\\表"},
             {"", ""},
         })
        EXPECT_EQ(withoutTrailingBackslash(c.in), c.out) << c.in;
}
