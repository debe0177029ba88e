// The shared search for block headers and option keys: occurrences on
// comment lines never count, anywhere else they do; all of a text's
// occurrences in time linear in its size.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/text.h"
#include "settings/host_blocks.h"
#include "settings/settings_text.h"

namespace {

TEST(FindSettingsKey, SkipsCommentLinesOnly) {
    struct Case { const char* what; std::string text, key; std::size_t at; };
    const Case cases[] = {
        {"plain header", "[all]\n", "[all]", 0},
        {"case folded", "x\n[ALL]\n", "[all]", 2},
        {"inside a non-comment line", "foo [all] bar\n", "[all]", 4},
        {"comment line, then the real one", "; [all] note\n[all]\n", "[all]", 13},
        {"indented comment", "   ;[all]\n[all]\n", "[all]", 10},
        {"comment after TAB and CR", "\t\r ;[all]\n[all]\n", "[all]", 10},
        {"semicolon later in the line is no comment", "x ; [all]\n", "[all]", 4},
        {"two occurrences on one comment line", ";[all][all]\n[all]", "[all]", 12},
        {"only in comments", ";[all]\n ; [all]", "[all]", text::npos},
        {"comment line without a line end", "[x]\n;[all]", "[all]", text::npos},
        {"option key", ";@param (old)\r\n@param\r\n", "@param", 15},
        {"key on the first line after a CR LF comment", ";@param\r\n@param", "@param", 9},
        {"nothing after a NUL", std::string("x\0[all]\n", 8), "[all]", text::npos},
        {"absent", "[al]\n", "[all]", text::npos},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(findSettingsKey(c.text, c.key), c.at) << c.what;
    }
}

TEST(FindSettingsKey, SearchesOnFromAGivenOffset) {
    const std::string text = "[a]\n;[a]\n[a]\n";
    EXPECT_EQ(findSettingsKey(text, "[a]", 1), 9u);
    EXPECT_EQ(lineAfterHeader(text, "[a]"), 4u);
    EXPECT_EQ(lineAfterHeader(";[b]\n[b] x\nnext\n", "[b]"), 11u);
    EXPECT_EQ(lineAfterHeader(";[b]\n", "[b]"), text::npos);
}

// Every occurrence, as repeated searches from just behind each one find
// them, over texts with comments, NULs, CR-only line ends and keys packed
// on one line.
TEST(FindAllSettingsKeys, AreTheRepeatedSearchesResults) {
    const std::string texts[] = {
        "[a]\n;[a]\n[a] [a]\n  ; [a][a]\n[A]",
        ";[a]\r[a]\r[a]\r",  // one comment line
        "[a]\r;[a]\r[a]\r",  // one line that is no comment
        std::string("[a]\n[a]\0[a]\n", 12),
        "[a][a][a]\n;\n[a[a]]",
        "",
        ";",
    };
    for (const std::string& text : texts) {
        std::vector<std::size_t> want;
        for (std::size_t at = findSettingsKey(text, "[a]"); at != text::npos;
             at = findSettingsKey(text, "[a]", at + 3))
            want.push_back(at);
        EXPECT_EQ(findAllSettingsKeys(text, "[a]"), want) << testing::PrintToString(text);
    }
}

// Searching on after each header used to cut the text at its NUL anew and
// walk each header's line to its end: 10,000 host blocks took eight
// seconds under Wine, and more on a single line (old Macintosh line ends),
// past the test run's bound on a case.
TEST(FindAllSettingsKeys, ManyHostBlocks) {
    for (const char* eol : {"\r\n", "\r"}) {
        std::string text;
        for (int i = 0; i < 20000; ++i)
            text += "[host:h" + std::to_string(i) + ".example]" + eol + "x.exe" + eol + "%end" + eol;
        EXPECT_EQ(findAllSettingsKeys(text, "[host:").size(), 20000u);
        EXPECT_EQ(hostHeaders(text).size(), 20000u);
    }
}

}  // namespace
