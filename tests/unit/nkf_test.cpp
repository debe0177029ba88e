// The converter library's portable part: encoding names, declarations and
// guesses, JIS X 0208 arithmetic, UTF-8 well-formedness, and conversion of
// each encoding into code page 932 within the room it is given.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "links/nkf/nkf_convert.h"
#include "links/nkf/nkf_detect.h"
#include "tests/support/utf8_step.h"

#ifndef _WIN32
#include <iconv.h>
#endif

namespace {

using nkf::Encoding;

// One sentence in the four encodings. Narrow literals are code page 932
// (the compiler's execution character set); u8 literals are UTF-8.
const std::string sjis = "日本語のページ「テスト」です。漢字とカタカナ、ひらがな。";
const std::string utf8 = u8"日本語のページ「テスト」です。漢字とカタカナ、ひらがな。";
const std::string euc =
    "\xc6\xfc\xcb\xdc\xb8\xec\xa4\xce\xa5\xda\xa1\xbc\xa5\xb8\xa1\xd6\xa5\xc6\xa5\xb9\xa5\xc8\xa1\xd7\xa4\xc7"
    "\xa4\xb9\xa1\xa3\xb4\xc1\xbb\xfa\xa4\xc8\xa5\xab\xa5\xbf\xa5\xab\xa5\xca\xa1\xa2\xa4\xd2\xa4\xe9\xa4\xac"
    "\xa4\xca\xa1\xa3";
const std::string jis =
    "\x1b$BF|K\x5c\x38l$N%Z!<%8!V%F%9%H!W$G$9!#4A;z$H%+%\x3f%+%J!\x22$R$i$,$J!#\x1b(B";

const unsigned char* bytes(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); }

Encoding guess(const std::string& s) { return nkf::guessEncoding(bytes(s), s.size()); }
Encoding declared(const std::string& s) { return nkf::declaredEncoding(bytes(s), s.size()); }
Encoding detect(const std::string& s, std::size_t* bom = nullptr) {
    std::size_t ignored = 0;
    return nkf::detectEncoding(bytes(s), s.size(), bom ? bom : &ignored);
}

std::string convert(const std::string& in, Encoding from, std::size_t capacity = 0) {
    if (capacity == 0) capacity = 3 * in.size() + 1;
    std::vector<char> out(capacity + 8, '\x7f');
    const std::size_t n = nkf::convertToCp932(bytes(in), in.size(), from, out.data(), capacity, testUtf8Step());
    EXPECT_EQ(out[n], '\0');
    for (std::size_t i = capacity; i < out.size(); ++i) EXPECT_EQ(out[i], '\x7f') << "written past the room";
    return std::string(out.data(), n);
}

TEST(NkfDetect, EncodingNames) {
    struct Case { const char* name; Encoding want; };
    const Case cases[] = {
        {"UTF-8", nkf::encodingUtf8}, {"utf8", nkf::encodingUtf8}, {"Shift_JIS", nkf::encodingShiftJis},
        {"shift-jis", nkf::encodingShiftJis}, {"x-sjis", nkf::encodingShiftJis},
        {"Windows-31J", nkf::encodingShiftJis}, {"CP932", nkf::encodingShiftJis}, {"EUC-JP", nkf::encodingEucJp},
        {"x-euc-jp", nkf::encodingEucJp}, {"ISO-2022-JP", nkf::encodingIso2022Jp},
        {"csISO2022JP", nkf::encodingIso2022Jp}, {"iso-8859-1", nkf::encodingUnknown},
        {"utf-8x", nkf::encodingUnknown}, {"", nkf::encodingUnknown},
    };
    for (const Case& c : cases) EXPECT_EQ(nkf::encodingByName(c.name, std::strlen(c.name)), c.want) << c.name;
}

TEST(NkfDetect, Declarations) {
    struct Case { std::string page; Encoding want; };
    const Case cases[] = {
        {"<html><head><meta charset=\"utf-8\">", nkf::encodingUtf8},
        {"<META CHARSET=EUC-JP>", nkf::encodingEucJp},
        {"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">", nkf::encodingShiftJis},
        {"<meta content='text/html;charset=iso-2022-jp' http-equiv='content-type'>", nkf::encodingIso2022Jp},
        {"<meta name=\"description\" content=\"x\"><meta charset = 'utf-8' >", nkf::encodingUtf8},
        {"<meta charset=\"iso-8859-1\">", nkf::encodingUnknown},
        {"\r\n<?xml version=\"1.0\" encoding=\"EUC-JP\"?><html>", nkf::encodingEucJp},
        {"<script charset=\"utf-8\"></script>", nkf::encodingUnknown},
        {"<p>charset=utf-8</p>", nkf::encodingUnknown},
        {std::string(9000, ' ') + "<meta charset=\"utf-8\">", nkf::encodingUnknown},  // too far in
        {"", nkf::encodingUnknown},
    };
    for (const Case& c : cases) EXPECT_EQ(declared(c.page), c.want) << c.page;
}

// A tag is read no further than the window the declaration is looked for
// in. A page of "<meta" without a '>' used to have every one of its tags
// read to the end of the page: seconds a megabyte, minutes for the
// largest page the program reads (past the test run's bound on a case).
TEST(NkfDetect, TagsAreReadWithinTheWindowOnly) {
    EXPECT_EQ(declared("<meta " + std::string(9000, ' ') + "charset=\"utf-8\">"), nkf::encodingUnknown);
    std::string page;
    for (int i = 0; i < 1638; ++i) page += "<meta";
    page += std::string(std::size_t{8} << 20, 'a');
    EXPECT_EQ(detect(page), nkf::encodingAscii);
}

TEST(NkfDetect, GuessesFromTheBytes) {
    std::string brokenUtf8 = "<title>" + utf8 + "</title>" + utf8;
    brokenUtf8.erase(7 + 12, 1);  // the fifth character loses its last byte
    struct Case { const char* name; std::string text; Encoding want; };
    const Case cases[] = {
        {"Shift_JIS", "<p>" + sjis, nkf::encodingShiftJis},
        {"EUC-JP", "<p>" + euc, nkf::encodingEucJp},
        {"ISO-2022-JP", "<p>" + jis, nkf::encodingIso2022Jp},
        {"UTF-8", "<p>" + utf8, nkf::encodingUtf8},
        {"UTF-8 broken in a character", brokenUtf8, nkf::encodingUtf8},
        {"ASCII", "<p>plain</p>", nkf::encodingAscii},
        {"half-width katakana, Shift_JIS", "\xb1\xb2\xb3\xb4\xb5 " + sjis, nkf::encodingShiftJis},
        {"half-width katakana, EUC-JP", "\x8e\xb1\x8e\xb2\x8e\xb3 " + euc, nkf::encodingEucJp},
        {"short Shift_JIS", "\x82\xa0", nkf::encodingShiftJis},
        {"short EUC-JP", "\xa4\xa2\xa4\xa4", nkf::encodingEucJp},
    };
    for (const Case& c : cases) EXPECT_EQ(guess(c.text), c.want) << c.name;
}

TEST(NkfDetect, MarkThenDeclarationWhenTheBytesBearItOutThenGuess) {
    std::size_t bom = 9;
    EXPECT_EQ(detect("\xef\xbb\xbf<meta charset=\"Shift_JIS\">" + utf8, &bom), nkf::encodingUtf8);
    EXPECT_EQ(bom, 3u);
    EXPECT_EQ(detect("<meta charset=\"EUC-JP\">" + euc, &bom), nkf::encodingEucJp);
    EXPECT_EQ(bom, 0u);
    // A page saved as UTF-8 that still declares the encoding it was served in.
    EXPECT_EQ(detect("<meta charset=\"Shift_JIS\">" + utf8), nkf::encodingUtf8);
    EXPECT_EQ(detect("<meta charset=\"utf-8\">" + sjis), nkf::encodingShiftJis);
    EXPECT_EQ(detect("<meta charset=\"iso-2022-jp\">" + euc), nkf::encodingEucJp);
    // With nothing but ASCII any declaration stands.
    EXPECT_EQ(detect("<meta charset=\"iso-2022-jp\">plain"), nkf::encodingIso2022Jp);
}

// ASCII is passed over many bytes at a time, so what decides must be seen
// wherever it falls: the first byte above 0x7F (or the escape of
// ISO-2022-JP) at every offset of a long ASCII text, and an escape that the
// text cuts short.
TEST(NkfDetect, AsciiRunsHideNothing) {
    struct Case { const char* name; std::string inserted; Encoding want; };
    const Case cases[] = {
        {"EUC-JP", euc, nkf::encodingEucJp},
        {"Shift_JIS", sjis, nkf::encodingShiftJis},
        {"UTF-8", utf8, nkf::encodingUtf8},
        {"ISO-2022-JP", jis, nkf::encodingIso2022Jp},
        {"one high byte", "\xa4", nkf::encodingShiftJis},
        {"an escape of ISO-2022-JP", "\x1b$B", nkf::encodingIso2022Jp},
        {"another escape", "\x1b$A", nkf::encodingAscii},
    };
    for (const Case& c : cases) {
        for (std::size_t at = 0; at < 70; ++at) {
            std::string page(100, 'a');
            page.insert(at, c.inserted);
            EXPECT_EQ(guess(page), c.want) << c.name << " at " << at;
            const std::string converted = convert(page, guess(page));
            EXPECT_EQ(converted.substr(0, at), std::string(at, 'a')) << c.name << " at " << at;
        }
    }
    EXPECT_EQ(guess("abc\x1b$"), nkf::encodingAscii);  // the escape cut short
    EXPECT_EQ(guess(std::string(61, 'a') + "\x1b$B"), nkf::encodingIso2022Jp);
}

TEST(NkfConvert, JisRowsToShiftJis) {
    struct Case { unsigned char j1, j2; std::string want; };
    const Case cases[] = {
        {0x21, 0x21, "　"}, {0x22, 0x21, "◆"}, {0x24, 0x22, "あ"}, {0x25, 0x76, "ヶ"}, {0x2D, 0x21, "①"},
        {0x30, 0x21, "亜"}, {0x4F, 0x53, "腕"}, {0x50, 0x21, "弌"}, {0x5F, 0x21, "\xe0\x40"}, {0x74, 0x26, "熙"},
        {0x21, 0x5F, "\x81\x7e"}, {0x21, 0x60, "\x81\x80"}, {0x21, 0x7E, "\x81\x9e"},
    };
    for (const Case& c : cases) {
        unsigned char out[2];
        nkf::jisToSjis(c.j1, c.j2, out);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 2), c.want) << int(c.j1) << " " << int(c.j2);
    }
#ifndef _WIN32
    // Every cell of rows 1 to 84 as the system's EUC-JP to CP932 gives it.
    iconv_t cd = iconv_open("CP932", "EUC-JP");
    int compared = 0;
    for (unsigned j1 = 0x21; j1 <= 0x74; ++j1) {
        for (unsigned j2 = 0x21; j2 <= 0x7E; ++j2) {
            char in[2] = {static_cast<char>(j1 | 0x80), static_cast<char>(j2 | 0x80)};
            char out[8];
            char* ip = in;
            char* op = out;
            std::size_t il = 2, ol = sizeof out;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cd, &ip, &il, &op, &ol) == static_cast<std::size_t>(-1) || ol != sizeof out - 2) continue;
            unsigned char mine[2];
            nkf::jisToSjis(static_cast<unsigned char>(j1), static_cast<unsigned char>(j2), mine);
            ASSERT_EQ(std::string(reinterpret_cast<char*>(mine), 2), std::string(out, 2)) << j1 << " " << j2;
            ++compared;
        }
    }
    iconv_close(cd);
    EXPECT_GT(compared, 6800);
#endif
}

TEST(NkfConvert, Utf8CharacterLengths) {
    struct Case { std::string bytes; std::size_t want; };
    const Case cases[] = {
        {"a", 1}, {"\xc3\xa9", 2}, {"\xe3\x81\x82", 3}, {"\xf0\x9f\x98\x80", 4},
        {"\xc0\xaf", 0}, {"\xc1\xbf", 0}, {"\xe0\x80\xaf", 0},  // overlong
        {"\xed\xa0\x80", 0},                                     // a surrogate
        {"\xf4\x90\x80\x80", 0}, {"\xf5\x80\x80\x80", 0},        // past U+10FFFF
        {"\x80", 0}, {"\xbf", 0}, {"\xe3\x81", 0}, {"\xe3\x81" "a", 0}, {"\xf0\x9f\x98", 0}, {"\xff", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(nkf::utf8CharLength(bytes(c.bytes), c.bytes.size()), c.want) << c.bytes;
}

TEST(NkfConvert, EachEncodingToCodePage932) {
    struct Case { const char* name; std::string in; Encoding from; std::string want; };
    const Case cases[] = {
        {"Shift_JIS stays", sjis, nkf::encodingShiftJis, sjis},
        {"ASCII stays", "<a href=x>", nkf::encodingAscii, "<a href=x>"},
        {"EUC-JP", "<p>" + euc + "</p>", nkf::encodingEucJp, "<p>" + sjis + "</p>"},
        {"ISO-2022-JP", "<p>" + jis + "</p>", nkf::encodingIso2022Jp, "<p>" + sjis + "</p>"},
        {"UTF-8", "<p>" + utf8 + "</p>", nkf::encodingUtf8, "<p>" + sjis + "</p>"},
        {"EUC-JP half-width katakana", "\x8e\xb1\x8e\xdf", nkf::encodingEucJp, "\xb1\xdf"},
        {"EUC-JP JIS X 0212 and rows past 84", "a\x8f\xb0\xa1" "b\xf5\xa1" "c", nkf::encodingEucJp, "a?b?c"},
        {"EUC-JP broken bytes", "\xa4\xa2\x80\xa4", nkf::encodingEucJp, "あ??"},
        {"ISO-2022-JP katakana escape", "\x1b(I12\x1b(Bx", nkf::encodingIso2022Jp, "\xb1\xb2x"},
        {"ISO-2022-JP shift out and in", "a\x0e\x31\x32\x0f" "b", nkf::encodingIso2022Jp, "a\xb1\xb2" "b"},
        {"ISO-2022-JP 0208 designated with @", "\x1b$@$\"\x1b(J!", nkf::encodingIso2022Jp, "あ!"},
        {"ISO-2022-JP JIS X 0212", "\x1b$(D0!\x1b(Bz", nkf::encodingIso2022Jp, "?z"},
        {"ISO-2022-JP line end in kanji mode", "\x1b$B$\"\r\n$\"\x1b(B", nkf::encodingIso2022Jp, "あ\r\nあ"},
        {"ISO-2022-JP unknown escape and eight-bit bytes", "\x1b" "Zq\xa4", nkf::encodingIso2022Jp, "?Zq?"},
        {"UTF-8 broken in a character", u8"あ" "\xe3\x81" "b" u8"い", nkf::encodingUtf8, "あ?bい"},
        {"UTF-8 stray continuation bytes", "\x80\x80x", nkf::encodingUtf8, "??x"},
        {"UTF-8 cut at the end", u8"あ" "\xe3", nkf::encodingUtf8, "あ?"},
        {"UTF-8 what the code page lacks", u8"é😀x", nkf::encodingUtf8, "??x"},
        {"UTF-8 JIS forms", u8"〜‖−¢£¬—", nkf::encodingUtf8, "～∥－￠￡￢―"},
        {"UTF-8 byte-order mark inside", u8"a\uFEFFb", nkf::encodingUtf8, "ab"},
        {"UTF-8 NEC and IBM characters", u8"①髙ｱ", nkf::encodingUtf8, "①髙ｱ"},
    };
    for (const Case& c : cases) EXPECT_EQ(convert(c.in, c.from), c.want) << c.name;
}

TEST(NkfConvert, NeverPastTheRoomNorHalfACharacter) {
    const struct { std::string in; Encoding from; } inputs[] = {
        {sjis, nkf::encodingShiftJis}, {euc, nkf::encodingEucJp}, {jis, nkf::encodingIso2022Jp},
        {utf8, nkf::encodingUtf8}, {"abcdefgh", nkf::encodingAscii},
    };
    for (const auto& input : inputs) {
        for (std::size_t capacity = 1; capacity < 12; ++capacity) {
            const std::string out = convert(input.in, input.from, capacity);
            ASSERT_LT(out.size(), capacity);
            const std::string whole = convert(input.in, input.from);
            EXPECT_EQ(whole.compare(0, out.size(), out), 0) << capacity;
            // The cut falls between characters: what follows begins one.
            if (out.size() < whole.size()) {
                EXPECT_GE(out.size() + 2, capacity);
            }
        }
    }
    // ASCII is copied a run at a time and cut within its run.
    for (std::size_t capacity = 1; capacity < 40; ++capacity) {
        const std::string ascii = std::string(30, 'x') + utf8;
        EXPECT_EQ(convert(ascii, nkf::encodingUtf8, capacity), std::string(capacity < 31 ? capacity - 1 : 30, 'x') +
                  (capacity < 31 ? "" : convert(utf8, nkf::encodingUtf8, capacity - 30))) << capacity;
        EXPECT_EQ(convert(std::string(30, 'x') + euc, nkf::encodingEucJp, capacity),
                  convert(ascii, nkf::encodingUtf8, capacity)) << capacity;
    }
    EXPECT_EQ(convert(sjis, nkf::encodingShiftJis, 4), "日");
    EXPECT_EQ(convert(utf8, nkf::encodingUtf8, 4), "日");
    // A long UTF-8 text goes through the system in pieces.
    std::string long8, longSjis;
    for (int i = 0; i < 2000; ++i) {
        long8 += utf8 + "\n";
        longSjis += sjis + "\n";
    }
    EXPECT_EQ(convert(long8, nkf::encodingUtf8), longSjis);
}

TEST(NkfConvert, Utf8StepTakesTheWholeCharactersFromTheStart) {
    struct Case { std::string in, want; std::size_t consumed; };
    const Case cases[] = {
        {"abc", "abc", 3},
        {"abcdefghij" u8"あ" "klmnopqrstuvwxyz", "abcdefghijあklmnopqrstuvwxyz", 29},
        {u8"あい" "\xe3\x81" "b", "あい", 6},
        {"\x80x", "", 0},
        {"x" u8"あ" "\xe3", "xあ", 4},
        {u8"é😀\uFEFF〜ｱ", "??～ｱ", 15},
    };
    const nkf::Utf8Converter step = testUtf8Step();
    for (const Case& c : cases) {
        std::vector<char> out(2 * c.in.size() + 8, '\x7f');
        std::size_t consumed = 99;
        const std::size_t n = step(c.in.data(), c.in.size(), out.data(), &consumed);
        EXPECT_EQ(std::string(out.data(), n), c.want) << c.in;
        EXPECT_EQ(consumed, c.consumed) << c.in;
        for (std::size_t i = 2 * c.in.size(); i < out.size(); ++i) EXPECT_EQ(out[i], '\x7f') << c.in;
    }
    // The page is handed over in pieces: a character cut at the end of one
    // begins the next, and a broken one after it is still one '?'.
    for (std::size_t ascii = 4088; ascii < 4100; ++ascii) {
        const std::string x(ascii, 'x');
        EXPECT_EQ(convert(u8"あ" + x + u8"い" "\xe3\x81" u8"う", nkf::encodingUtf8), "あ" + x + "い?う") << ascii;
    }
}

TEST(NkfConvert, WideTextForTheCodePage) {
    struct Case { std::vector<unsigned short> in, want; };
    const Case cases[] = {
        {{0x301C, 0x2016, 0x2212, 0x00A2, 0x00A3, 0x00AC, 0x00A6, 0x2014},
         {0xFF5E, 0x2225, 0xFF0D, 0xFFE0, 0xFFE1, 0xFFE2, 0xFFE4, 0x2015}},
        {{'a', 0xD83D, 0xDE00, 'b'}, {'a', '?', 'b'}},
        {{0xDC00, 'x', 0xD800}, {'?', 'x', '?'}},
        {{0xFEFF, 0x3042, 0xFEFF}, {0x3042}},
        {{}, {}},
    };
    for (const Case& c : cases) {
        std::vector<unsigned short> text = c.in;
        text.resize(nkf::prepareWideForCp932(text.data(), text.size()));
        EXPECT_EQ(text, c.want);
    }
}

TEST(NkfConvert, WholePages) {
    // What NkfConvert writes: the page's own encoding found, then converted.
    struct Case { const char* name; std::string page, want; };
    std::string broken = "<title>" + utf8 + "</title>";
    broken.erase(7 + 5, 1);  // the second character loses its middle byte
    const Case cases[] = {
        {"UTF-8 with mark", "\xef\xbb\xbf<title>" + utf8 + "</title>", "<title>" + sjis + "</title>"},
        {"EUC-JP declared", "<meta charset=euc-jp><title>" + euc + "</title>",
         "<meta charset=euc-jp><title>" + sjis + "</title>"},
        {"ISO-2022-JP guessed", "<title>" + jis + "</title>", "<title>" + sjis + "</title>"},
        {"Shift_JIS kept", "<title>" + sjis + "</title>", "<title>" + sjis + "</title>"},
        {"UTF-8 broken in a character", broken, "<title>日?語" + sjis.substr(6) + "</title>"},
        {"empty", "", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(convertLikeNkf32(c.page), c.want) << c.name;
}

}  // namespace
