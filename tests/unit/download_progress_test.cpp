// The figures of the progress window (byte counts, amounts, the rate over
// the last two seconds) and the scaling of its pixel sizes.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "common/dpi.h"
#include "launch/download_progress.h"

namespace {

constexpr std::uint64_t kb = 1024, mb = kb * 1024, gb = mb * 1024;

platform::DownloadProgress at(unsigned ms, std::uint64_t bytes, std::uint64_t total = 0,
                              bool known = false) {
    platform::DownloadProgress p;
    p.elapsedMs = ms;
    p.received = bytes;
    p.total = total;
    p.totalKnown = known;
    return p;
}

TEST(DownloadProgress, ByteCounts) {
    const std::pair<std::uint64_t, std::string> cases[] = {
        {0, "0 バイト"},       {1023, "1023 バイト"}, {kb, "1.0 KB"},
        {1536, "1.5 KB"},      {99 * kb + 1000, "100 KB"}, {704 * kb, "704 KB"},
        {mb, "1.0 MB"},        {3 * mb, "3.0 MB"},    {150 * mb, "150 MB"},
        {5 * gb / 2, "2.5 GB"},
    };
    for (const auto& [bytes, text] : cases) EXPECT_EQ(byteCountText(bytes), text) << bytes;
}

TEST(DownloadProgress, Amounts) {
    struct Case { platform::DownloadProgress p; std::string want; };
    const Case cases[] = {
        {at(0, 1536), "1.5 KB"},
        {at(0, 300 * kb, 3 * mb, true), "300 KB / 3.0 MB (9%)"},
        {at(0, 3 * mb, 3 * mb, true), "3.0 MB / 3.0 MB (100%)"},
        // More than announced: never above 100%.
        {at(0, 4 * mb, 3 * mb, true), "4.0 MB / 3.0 MB (100%)"},
        {at(0, 0, 0, true), "0 バイト / 0 バイト"},
    };
    for (const Case& c : cases) EXPECT_EQ(amountText(c.p), c.want);
    EXPECT_EQ(rateText(100 * kb), "100 KB/秒");
}

TEST(DownloadProgress, TheRateLooksTwoSecondsBack) {
    ProgressWatch watch(nullptr, "a.bin");
    EXPECT_EQ(watch.rate(), 0u);
    for (unsigned ms = 0; ms <= 3000; ms += 100) watch.keepGoing(at(ms, ms * 100));
    EXPECT_EQ(watch.rate(), 100u * 1000);
    // The server falls silent: the rate falls with it, to nothing.
    for (unsigned ms = 3100; ms <= 4000; ms += 100) watch.keepGoing(at(ms, 300000));
    EXPECT_EQ(watch.rate(), 50u * 1000);
    for (unsigned ms = 4100; ms <= 5200; ms += 100) watch.keepGoing(at(ms, 300000));
    EXPECT_EQ(watch.rate(), 0u);
    // Without a window layer nothing shows and nothing cancels.
    EXPECT_FALSE(watch.windowShown());
}

TEST(Dpi, SizesScaleFrom96) {
    const int cases[][3] = {{12, 96, 12}, {12, 144, 18}, {88, 120, 110}, {7, 144, 11},
                            {380, 192, 760}, {10, 0, 10}, {-12, 144, -18}};
    for (const auto& c : cases) EXPECT_EQ(scaleForDpi(c[0], c[1]), c[2]) << c[0] << "@" << c[1];
}

}  // namespace
