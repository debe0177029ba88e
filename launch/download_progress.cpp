// The progress of a running download, in the figures a person reads.
#include "launch/download_progress.h"

#include <utility>

namespace {

// How far back the rate looks: long enough to smooth the bursts of a
// network read, short enough to fall to nothing when the server stalls.
constexpr unsigned rateWindowMs = 2000;

// value / unit with one decimal below 100 units, else whole units.
std::string scaled(std::uint64_t value, std::uint64_t unit, const char* name) {
    const std::uint64_t tenths = (value * 10 + unit / 2) / unit;
    std::string out;
    if (tenths < 1000) out = std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
    else out = std::to_string((tenths + 5) / 10);
    return out + " " + name;
}

}  // namespace

std::string byteCountText(std::uint64_t bytes) {
    constexpr std::uint64_t kb = 1024, mb = kb * 1024, gb = mb * 1024;
    if (bytes < kb) return std::to_string(bytes) + " バイト";
    if (bytes < mb) return scaled(bytes, kb, "KB");
    if (bytes < gb) return scaled(bytes, mb, "MB");
    return scaled(bytes, gb, "GB");
}

std::string amountText(const platform::DownloadProgress& progress) {
    std::string out = byteCountText(progress.received);
    if (!progress.totalKnown) return out;
    out += " / " + byteCountText(progress.total);
    if (progress.total > 0) {
        const std::uint64_t received = progress.received < progress.total ? progress.received
                                                                           : progress.total;
        out += " (" + std::to_string(received * 100 / progress.total) + "%)";
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
