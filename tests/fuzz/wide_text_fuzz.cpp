// Wide text into code page 932: the command line, the clipboard and
// dropped text as Windows hands them over (the input is read as UTF-16LE
// units: any surrogates, zeros, blanks and quotes), a dropped file's name,
// and an Internet shortcut's wide URL (the input as its UTF-7 value). The
// conversion must give whole code page 932 characters, keep ASCII text as
// it is, and leave text the recogniser takes as it takes any other. Host
// labels are mapped and composed as browsers do, to a fixed point.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/recognize.h"
#include "common/idna.h"
#include "common/nfc.h"
#include "common/text.h"
#include "common/unicode.h"
#include "common/unopenable_names.h"
#include "links/host_text.h"
#include "links/shortcut_wide.h"
#include "links/wide_text.h"
#include "tests/fuzz/support/fuzz_state.h"

namespace {

// Every byte belongs to a whole character: a lead byte has its trail.
void checkWholeCharacters(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        FUZZ_CHECK(c != 0, "no zero byte");
        if (text::isLeadByte(c)) {
            FUZZ_CHECK(i + 1 < text.size() && text::isTrailByte(static_cast<unsigned char>(text[i + 1])),
                       "a lead byte has its trail byte");
            i += 2;
        } else {
            ++i;
        }
    }
}

void convert(const std::u16string& wide, WideText kind) {
    const std::string out = wideToCp932(wide, kind);
    checkWholeCharacters(out);
    // The longest forms of one unit: a character of three UTF-8 bytes
    // escaped (9 bytes), or a label of one character in its ASCII form
    // (as many as 17 bytes for "㍿", and a separator before the next).
    FUZZ_CHECK(out.size() <= 12 * wide.size(), "bounded growth");
    bool ascii = true;
    std::size_t end = 0;
    while (end < wide.size() && wide[end] != 0) {
        ascii = ascii && wide[end] < 0x80 && wide[end] != 0xFEFF;
        ++end;
    }
    if (ascii) FUZZ_CHECK(out == std::string(wide.begin(), wide.begin() + static_cast<long>(end)),
                          "ASCII text is kept");
    if (kind == WideText::path) FUZZ_CHECK(out.empty() || unopenableNames.count == 0, "a lost name");
    if (kind == WideText::input) recognizeInput(out, 1, 1);
    clearUnopenableNames();
}

// Host labels: mapping is idempotent (a mapped label maps to itself and
// is in NFC), and a host comes out in whole characters.
void hostLabels(const std::u16string& wide) {
    // The characters up to the first zero, as the conversion takes them.
    std::u32string chars;
    for (std::size_t i = 0; i < wide.size();) {
        const char32_t c = unicode::next(wide, i);
        if (c == 0) break;
        chars += c;
    }
    std::u32string mapped, again;
    if (idna::mapLabel(chars, mapped)) {
        FUZZ_CHECK(idna::mapLabel(mapped, again) && again == mapped, "a mapped label maps to itself");
        again = mapped;
        idna::toNfc(again);
        FUZZ_CHECK(again == mapped, "a mapped label is in NFC");
        idna::isValidLabel(mapped);
        idna::meetsBidiRule(mapped);
    }
    checkWholeCharacters(hostText(chars));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    resetCore();
    clearUnopenableNames();
    std::u16string wide;
    for (std::size_t i = 0; i + 1 < size; i += 2) wide += static_cast<char16_t>(data[i] | data[i + 1] << 8);
    convert(wide, WideText::input);
    convert(wide, WideText::path);
    convert(wide, WideText::url);
    hostLabels(wide.substr(0, 256));
    checkUrlList();

    const std::string utf7(inputText(data, size));
    const std::string url = shortcutWideUrl("[InternetShortcut.W]\r\nURL=" + utf7);
    checkWholeCharacters(url);
    return 0;
}
