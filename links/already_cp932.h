// Whether a read text is already what the code conversion would make of
// it: ASCII (without the escape and shift-out bytes that ISO-2022-JP
// switches with) or bytes that the converter reads as Shift_JIS, which it
// leaves as they are. Such a text is read as it lies, never copied for a
// converter.
#pragma once
#include <string_view>

bool isAlreadyCp932(std::string_view text);
