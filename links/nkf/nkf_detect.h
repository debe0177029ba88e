// Which Japanese encoding a page is written in: a byte-order mark, then a
// declaration in the page (<meta charset=…>, http-equiv Content-Type, an
// XML declaration), then a guess from the bytes. Plain C-style code over
// byte buffers: the converter library needs no C++ runtime.
#pragma once
#include <stddef.h>

namespace nkf {

enum Encoding {
    encodingUnknown = 0,
    encodingAscii,      // no byte above 0x7F and no escape sequence
    encodingShiftJis,
    encodingEucJp,
    encodingIso2022Jp,
    encodingUtf8,
};

// The encoding a declaration names ("utf-8", "Shift_JIS", "euc-jp",
// "iso-2022-jp" and their aliases, any case), or encodingUnknown.
Encoding encodingByName(const char* name, size_t length);

// The encoding declared in the first part of the page, or encodingUnknown.
Encoding declaredEncoding(const unsigned char* text, size_t length);

// The most likely encoding of the bytes alone.
Encoding guessEncoding(const unsigned char* text, size_t length);

// The encoding to convert from: a UTF-8 byte-order mark (whose length goes
// to *bomLength), else the declaration, else the guess.
Encoding detectEncoding(const unsigned char* text, size_t length, size_t* bomLength);

}  // namespace nkf
