// Sizes at display resolutions: rescaling between two, and the list
// window's starting geometry.
#include <gtest/gtest.h>

#include "common/dpi.h"
#include "links/list_layout.h"

namespace {

TEST(Dpi, RescaleKeepsTheShareOfTheScreen) {
    struct Case {
        int pixels, from, to, expected;
    };
    const Case cases[] = {
        {100, 96, 96, 100},    // same resolution: unchanged
        {100, 96, 144, 150},   {150, 144, 96, 100},  {345, 96, 144, 518},  // 517.5 rounds up
        {518, 144, 96, 345},   {101, 96, 144, 152},  {152, 144, 96, 101},
        {180, 96, 192, 360},   {360, 192, 120, 225}, {7, 120, 96, 6},      // 5.6
        {-18, 144, 96, -12},   {-13, 96, 144, -20},  // font heights: halves away from zero
        {0, 96, 144, 0},       {40, 0, 144, 60},     {40, 144, -1, 27},    // unknown counts as 96
    };
    for (const Case& c : cases)
        EXPECT_EQ(rescaleForDpi(c.pixels, c.from, c.to), c.expected)
            << c.pixels << " from " << c.from << " to " << c.to;
}

TEST(Dpi, RescalingThereAndBackReturnsTheWidth) {
    for (int dpi : {120, 144, 168, 192, 240})
        for (int width = 0; width <= 2000; ++width)
            ASSERT_EQ(rescaleForDpi(rescaleForDpi(width, 96, dpi), dpi, 96), width)
                << width << " via " << dpi;
}

TEST(ListLayout, StartingPlacementAtEachResolution) {
    struct Case {
        int screenWidth, maximizedHeight, dpi;
        ListWindowPlacement expected;
    };
    const Case cases[] = {
        {1280, 1062, 96, {405, 129, 470, 450}},    // 1062/3 - 225
        {1280, 1080, 144, {288, 23, 705, 675}},    // 1080/3 - 337
        {1920, 1050, 120, {666, 69, 588, 563}},   // 587.5 and 562.5 round up
        {2560, 1400, 192, {810, 16, 940, 900}},
        {1024, 600, 96, {277, 50, 470, 450}},      // too tall for a third: the gap
        {1024, 700, 144, {160, 75, 705, 675}},     // the gap scales too
        {1281, 1063, 96, {405, 129, 470, 450}},    // divisions truncate
        {1280, 1062, 0, {405, 129, 470, 450}},     // unknown resolution: 96
    };
    for (const Case& c : cases) {
        const ListWindowPlacement p = listWindowPlacement(c.screenWidth, c.maximizedHeight, c.dpi);
        EXPECT_EQ(p.x, c.expected.x) << c.screenWidth << "x" << c.maximizedHeight << "@" << c.dpi;
        EXPECT_EQ(p.y, c.expected.y) << c.screenWidth << "x" << c.maximizedHeight << "@" << c.dpi;
        EXPECT_EQ(p.width, c.expected.width) << c.dpi;
        EXPECT_EQ(p.height, c.expected.height) << c.dpi;
    }
}

TEST(ListLayout, ColumnWidthsAtEachResolution) {
    const int cases[][3] = {{96, 100, 345}, {120, 125, 431}, {144, 150, 518}, {192, 200, 690}};
    for (const auto& c : cases) {
        EXPECT_EQ(listColumnWidth(0, c[0]), c[1]) << c[0];
        EXPECT_EQ(listColumnWidth(1, c[0]), c[2]) << c[0];
    }
}

}  // namespace
