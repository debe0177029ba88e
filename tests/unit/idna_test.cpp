// Host-name labels as browsers map and check them: the generated tables'
// edge cases, NFC, the validity rules, and whole hosts as Tavrin passes
// them on.
#include <gtest/gtest.h>

#include <string>

#include "common/idna.h"
#include "common/unicode.h"
#include "links/host_text.h"

namespace {

std::string utf8(std::u32string_view s) {
    std::string out;
    for (char32_t c : s) unicode::appendUtf8(out, c);
    return out;
}

TEST(Idna, Mapping) {
    struct Case {
        const char* what;
        std::u32string label;
        bool ok;
        std::u32string want;
    };
    const Case cases[] = {
        {"ASCII capitals", U"BüCHER", true, U"bücher"},
        {"dotted capital I keeps its dot", U"İstanbul", true, U"i\u0307stanbul"},
        {"capital sharp s", U"GROẞ", true, U"gross"},
        {"sharp s and final sigma stay (no transitional mapping)", U"faßς", true, U"faßς"},
        {"Greek capitals with tonos", U"ΑΘΉΝΑ", true, U"αθήνα"},
        {"Vietnamese, two marks", U"VIỆT", true, U"việt"},
        {"fullwidth letters", U"ｂＵｃｈｅｒ", true, U"bucher"},
        {"halfwidth katakana and their voiced mark compose", U"ｶﾞｲﾄﾞ", true, U"ガイド"},
        {"ligature, Kelvin and Angstrom signs", U"ﬁ\u212A\u212B", true, U"fikå"},
        {"a squared word", U"㍿", true, U"株式会社"},
        {"mathematical letters", U"\U0001D400\U0001D41B", true, U"ab"},
        {"compatibility ideographs, one to a character beyond the BMP", U"\U0002F800\U0002F803", true,
         U"\u4E3D\U00020122"},
        {"the longest mapping, whole", U"\uFDFA", true,
         U"\u0635\u0644\u0649 \u0627\u0644\u0644\u0647 \u0639\u0644\u064A\u0647 \u0648\u0633\u0644\u0645"},
        {"Hebrew with dagesh and shin dot stays decomposed", U"\uFB2C", true, U"\u05E9\u05BC\u05C1"},
        {"soft hyphen, variation selectors, joiner of graphemes go", U"a\u00ADb\uFE0F\U000E0100c\u034F", true,
         U"abc"},
        {"decomposed accents compose", U"bu\u0308cher", true, U"bücher"},
        {"marks in canonical order first", U"e\u0301\u0323", true, U"\u1EB9\u0301"},
        {"Hangul jamo compose", U"\u1112\u1161\u11AB", true, U"한"},
        {"Cherokee: small letters fold to capitals", U"\uAB70\u13A0", true, U"\u13A0\u13A0"},
        {"Georgian capitals are refused", U"\u10A0", false, U""},
        {"unassigned", U"a\u0378", false, U""},
        {"replacement character", U"a\uFFFD", false, U""},
        {"private use", U"a\uE000", false, U""},
        {"a mapping to a dot is refused", U"a\u2024b", false, U""},
        {"Hangul filler", U"a\u3164", false, U""},
        {"bidi controls", U"a\u061C", false, U""},
        {"a mapping to forbidden ASCII is left for the validity check", U"a\uFE64", true, U"a<"},
    };
    for (const Case& c : cases) {
        std::u32string out;
        EXPECT_EQ(idna::mapLabel(c.label, out), c.ok) << c.what;
        if (c.ok) {
            EXPECT_EQ(utf8(out), utf8(c.want)) << c.what;
        }
    }
}

TEST(Idna, Validity) {
    struct Case {
        const char* what;
        std::u32string mapped;
        bool valid;
    };
    const Case cases[] = {
        {"letters", U"bücher", true},
        {"empty, as between two dots", U"", true},
        {"a leading mark", U"\u0301a", false},
        {"a mark after a letter", U"a\u0301", true},
        {"a spacing mark in front", U"\u0903a", false},
        {"begins with xn--", U"xn--ü", false},
        {"a blank", U"a b", false},
        {"'<' alone", U"a<b", false},
        {"'<' composed away", U"a\u226Eb", true},
        {"'%'", U"a%b", false},
        {"zero width joiner after a virama", U"\u0915\u094D\u200D\u0937", true},
        {"zero width joiner elsewhere", U"a\u200Db", false},
        {"non-joiner after a virama", U"\u0915\u094D\u200C\u0937", true},
        {"non-joiner between joining letters", U"\u0646\u200C\u0627", true},
        {"non-joiner with a transparent mark between", U"\u0628\u064B\u200C\u0627", true},
        {"non-joiner before a letter that joins on the left only", U"\u0627\u200C\u0628", false},
        {"non-joiner in Latin", U"a\u200Cb", false},
        {"non-joiner at the end", U"\u0646\u200C", false},
    };
    for (const Case& c : cases) EXPECT_EQ(idna::isValidLabel(c.mapped), c.valid) << c.what;
}

TEST(Idna, BidiRule) {
    struct Case {
        const char* what;
        std::u32string mapped;
        bool rightToLeft, meets;
    };
    const Case cases[] = {
        {"Hebrew", U"שלום", true, true},
        {"Arabic with an Arabic digit", U"مثال٣", true, true},
        {"Arabic with a mark at the end", U"\u0628\u064B", true, true},
        {"a right-to-left label that begins with a digit", U"1שלום", true, false},
        {"Latin letter in a right-to-left label", U"שלוםa", true, false},
        {"European and Arabic digits together", U"\u0628" U"3\u0663", true, false},
        {"ends in a hyphen", U"\u05D0-", true, false},
        {"Arabic digits alone", U"٣٤", true, false},
        {"a left-to-right label", U"abc1", false, true},
        {"a left-to-right label that begins with a digit", U"1abc", false, false},
        {"a left-to-right label that ends with a hyphen", U"abc-", false, false},
        {"a left-to-right label with an Arabic digit", U"a\u0661", true, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(idna::isRightToLeft(c.mapped), c.rightToLeft) << c.what;
        EXPECT_EQ(idna::meetsBidiRule(c.mapped), c.meets) << c.what;
    }
}

TEST(HostText, LabelByLabel) {
    struct Case {
        const char* what;
        std::u32string host;
        std::string want;
    };
    const Case cases[] = {
        {"ASCII as it is, capitals too", U"WWW.Example.COM", "WWW.Example.COM"},
        {"Japanese keeps its bytes", U"東京.ｊｐ", "東京.ｊｐ"},
        {"a label the code page lacks", U"ＢÜＣＨＥＲ.example", "xn--bcher-kva.example"},
        {"mapped to ASCII", U"GROẞ.de", "gross.de"},
        {"mixed with code page characters", U"東京ü.jp", "xn--tda9880brsp.jp"},
        {"separators stay", U"ü。東京．ü｡x", "xn--tda。東京．xn--tda｡x"},
        {"trailing and empty labels", U"ü..x.", "xn--tda..x."},
        {"a refused label stays escaped", U"ü\u0378.example", "%C3%BC%CD%B8.example"},
        {"a refused label keeps its code page characters", U"東\u0301\u0378.jp", "東%CC%81%CD%B8.jp"},
        {"a forbidden character after mapping", U"a＜ü.example", "a＜%C3%BC.example"},
        {"the bidi rule across labels", U"1a.ü.שלום", "1a.%C3%BC.%D7%A9%D7%9C%D7%95%D7%9D"},
        {"a right-to-left host that meets it", U"ü.שלום", "xn--tda.xn--9dbne9b"},
        {"emoji with a variation selector", U"i❤️.ws", "xn--i-7iq.ws"},
        {"only ignorables", U"\u00AD.com", ".com"},
    };
    for (const Case& c : cases) EXPECT_EQ(hostText(c.host), c.want) << c.what;
}

}  // namespace
