// The shared search for block headers and option keys: occurrences on
// comment lines never count, anywhere else they do.
#include <gtest/gtest.h>

#include <string>

#include "common/text.h"
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

}  // namespace
