// The progress of a running download, in the figures a person reads.
#include "launch/download_progress.h"

#include <utility>

namespace {

// How far back the rate looks: long enough to smooth the bursts of a
// network read, short enough to fall to nothing when the server stalls.
constexpr unsigned rateWindowMs = 2000;

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

ProgressWatch::ProgressWatch(platform::WindowHandle owner, std::string fileName)
    : owner_(owner), fileName_(std::move(fileName)) {}

std::uint64_t ProgressWatch::rate() const {
    if (samples_.size() < 2) return 0;
    const Sample& first = samples_.front();
    const Sample& last = samples_.back();
    if (last.ms <= first.ms) return 0;
    return (last.bytes - first.bytes) * 1000 / (last.ms - first.ms);
}

bool ProgressWatch::keepGoing(const platform::DownloadProgress& progress) {
    samples_.push_back({progress.elapsedMs, progress.received});
    // Keep one sample at or before the start of the window, so that the
    // rate always spans it.
    while (samples_.size() > 2 && samples_[1].ms + rateWindowMs <= progress.elapsedMs)
        samples_.erase(samples_.begin());
    if (!window_ && !windowTried_ && progress.elapsedMs >= showAfterMs) {
        windowTried_ = true;
        window_ = ui().openProgressWindow(owner_, fileName_);
    }
    if (!window_) return true;
    int permille = -1;
    if (progress.totalKnown && progress.total > 0) {
        const std::uint64_t received = progress.received < progress.total ? progress.received
                                                                           : progress.total;
        permille = static_cast<int>(received * 1000 / progress.total);
    }
    return window_->update(amountText(progress), rateText(rate()), permille);
}
