// The figures of a download in the form a person reads them.
#include "launch/download_figures.h"

namespace {

// value / 2^shift units with one decimal below 100 units, else whole units.
std::string scaled(std::uint64_t value, unsigned shift, const char* name) {
    const std::uint64_t unit = std::uint64_t(1) << shift;
    const std::uint64_t tenths = (value * 10 + unit / 2) >> shift;
    std::string out;
    if (tenths < 1000) out = decimalText(tenths / 10) + "." + decimalText(tenths % 10);
    else out = decimalText((tenths + 5) / 10);
    return out + " " + name;
}

}  // namespace

std::string decimalText(std::uint64_t value) {
    char digits[24];
    char* p = digits + sizeof digits;
    do {
        *--p = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    return std::string(p, digits + sizeof digits);
}

std::string byteCountText(std::uint64_t bytes) {
    if (bytes < (1u << 10)) return decimalText(bytes) + " バイト";
    if (bytes < (1u << 20)) return scaled(bytes, 10, "KB");
    if (bytes < (1u << 30)) return scaled(bytes, 20, "MB");
    return scaled(bytes, 30, "GB");
}

std::string amountText(const platform::DownloadProgress& progress) {
    std::string out = byteCountText(progress.received);
    if (!progress.totalKnown) return out;
    out += " / " + byteCountText(progress.total);
    if (progress.total > 0) {
        const std::uint64_t received = progress.received < progress.total ? progress.received
                                                                           : progress.total;
        out += " (" + decimalText(received * 100 / progress.total) + "%)";
    }
    return out;
}

std::string rateText(std::uint64_t bytesPerSecond) {
    return byteCountText(bytesPerSecond) + "/秒";
}
