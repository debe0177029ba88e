// The converter library's portable part: encoding detection (byte-order
// mark, declaration, guess), and conversion from every encoding into code
// page 932 within the room given, as NkfConvert does for a page. Output
// buffers are exactly as large as promised, so a write past them is the
// sanitizer's to see. The input is a page in any encoding.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/text.h"
#include "links/nkf/nkf_convert.h"
#include "links/nkf/nkf_detect.h"
#include "tests/fuzz/support/fuzz_state.h"
#include "tests/fuzz/support/fuzz_utf8_step.h"

namespace {

void convertInto(const unsigned char* in, std::size_t length, nkf::Encoding from, std::size_t capacity) {
    std::unique_ptr<char[]> out(new char[capacity > 0 ? capacity : 1]);
    const std::size_t n = nkf::convertToCp932(in, length, from, capacity > 0 ? out.get() : nullptr,
                                              capacity, fuzzUtf8ToCp932);
    if (capacity == 0) {
        FUZZ_CHECK(n == 0, "nothing fits in no room");
        return;
    }
    FUZZ_CHECK(n < capacity && out[n] == '\0', "the text and its zero fit");
    const bool copied = (from == nkf::encodingAscii || from == nkf::encodingShiftJis ||
                         from == nkf::encodingUnknown) && length < capacity;
    // A copy keeps the text as it was; whatever was converted or cut ends
    // on a whole character.
    if (copied) FUZZ_CHECK(n == length && std::memcmp(out.get(), in, length) == 0, "copied as is");
    else FUZZ_CHECK(text::boundaryAtOrBefore(std::string_view(out.get(), n), n) == n, "whole characters");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::size_t bom = 0;
    const nkf::Encoding detected = nkf::detectEncoding(data, size, &bom);
    FUZZ_CHECK(bom == 0 || (bom == 3 && detected == nkf::encodingUtf8), "byte-order mark");
    nkf::guessEncoding(data, size);
    nkf::declaredEncoding(data, size);
    nkf::encodingByName(reinterpret_cast<const char*>(data), size);
    for (std::size_t i = 0; i < size; ++i) FUZZ_CHECK(nkf::utf8CharLength(data + i, size - i) <= size - i, "utf8");

    // ASCII and unknown text take Shift_JIS's way.
    const nkf::Encoding all[] = {nkf::encodingShiftJis, nkf::encodingEucJp, nkf::encodingIso2022Jp,
                                 nkf::encodingUtf8};
    for (nkf::Encoding from : all) {
        convertInto(data, size, from, 3 * size + 1);
        convertInto(data, size, from, size / 2 + 1);
        convertInto(data, size, from, 0);
    }

    // NkfConvert on the page as a C string, into three times its length.
    const std::string page(inputText(data, size));
    const std::size_t length = std::strlen(page.c_str());
    const std::size_t room = length == 0 ? 1 : 3 * length;
    std::unique_ptr<char[]> out(new char[room]);
    nkf::convertPage(page.c_str(), out.get(), fuzzUtf8ToCp932);
    FUZZ_CHECK(strnlen(out.get(), room) < room, "the page is terminated in its room");

    // The UTF-16 preparation of the Windows step, on the input as units.
    std::vector<std::uint16_t> units(size / 2);
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<std::uint16_t>(data[2 * i] | data[2 * i + 1] << 8);
    const std::size_t kept = nkf::prepareWideForCp932(units.data(), units.size());
    FUZZ_CHECK(kept <= units.size(), "preparation never lengthens");
    for (std::size_t i = 0; i < kept; ++i)
        FUZZ_CHECK(units[i] != 0xFEFF && (units[i] < 0xD800 || units[i] > 0xDFFF), "no marks or surrogates");
    return 0;
}
