// What a download shows while it runs: after about a second, a progress
// window with the file name, the bytes so far (and of how many), the rate
// and a Cancel button.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/ui_port.h"

// The decimal digits of `value`.
std::string decimalText(std::uint64_t value);
// "512 バイト", "12.3 KB", "3.0 MB", "1.5 GB" (units of 1,024).
std::string byteCountText(std::uint64_t bytes);
// "1.2 MB / 3.0 MB (40%)", or "1.2 MB" when the size is unknown.
std::string amountText(const platform::DownloadProgress& progress);
// "100 KB/秒".
std::string rateText(std::uint64_t bytesPerSecond);

// The watch of one download: it opens the progress window once the
// download has run for showAfterMs, keeps it up to date, and ends the
// download when the user cancels there.
class ProgressWatch final : public platform::DownloadWatch {
public:
    static constexpr unsigned showAfterMs = 1000;

    ProgressWatch(platform::WindowHandle owner, std::string fileName);
    bool keepGoing(const platform::DownloadProgress& progress) override;
    // The rate over the last two seconds or so, in bytes per second.
    std::uint64_t rate() const;
    bool windowShown() const { return window_ != nullptr; }

private:
    struct Sample {
        unsigned ms;
        std::uint64_t bytes;
    };
    platform::WindowHandle owner_;
    std::string fileName_;
    std::unique_ptr<ProgressWindow> window_;
    bool windowTried_ = false;
    std::vector<Sample> samples_;
};
