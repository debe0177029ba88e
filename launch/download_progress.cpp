// The progress of a running download, in the figures a person reads.
#include "launch/download_progress.h"

#include <utility>

namespace {

// How far back the rate looks: long enough to smooth the bursts of a
// network read, short enough to fall to nothing when the server stalls.
constexpr unsigned rateWindowMs = 2000;

}  // namespace

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
