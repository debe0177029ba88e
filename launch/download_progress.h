// What a download shows while it runs: after about a second, a progress
// window with the file name, the bytes so far (and of how many), the rate
// and a Cancel button.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "launch/download_figures.h"
#include "platform/platform.h"
#include "platform/ui_port.h"

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
