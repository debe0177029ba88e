// The figures a download shows: byte counts, the share done and the rate,
// in the units a person reads (the progress window and its watch both use
// them).
#pragma once
#include <cstdint>
#include <string>

#include "platform/platform.h"

// The decimal digits of `value`.
std::string decimalText(std::uint64_t value);
// "512 バイト", "12.3 KB", "3.0 MB", "1.5 GB" (units of 1,024).
std::string byteCountText(std::uint64_t bytes);
// "1.2 MB / 3.0 MB (40%)", or "1.2 MB" when the size is unknown.
std::string amountText(const platform::DownloadProgress& progress);
// "100 KB/秒".
std::string rateText(std::uint64_t bytesPerSecond);
