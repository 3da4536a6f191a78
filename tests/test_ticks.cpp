// Tick values, tick labels and automatic axis limits.
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "rizodozad/axes/ticks.h"
#include "rizodozad/rizodozad.h"

namespace rizodozad {
namespace {

using Ticks = std::vector<double>;

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

TEST(ComputeTicks, StepsOfOneTwoOrFive) {
    EXPECT_EQ(compute_ticks(0, 10), (Ticks{0, 2, 4, 6, 8, 10}));
    EXPECT_EQ(compute_ticks(0, 200), (Ticks{0, 50, 100, 150, 200}));
    EXPECT_EQ(compute_ticks(-2, 2), (Ticks{-2, -1.5, -1, -0.5, 0, 0.5, 1, 1.5, 2}));
    EXPECT_EQ(compute_ticks(0, 199), (Ticks{0, 20, 40, 60, 80, 100, 120, 140, 160, 180}));
}

// Each tick is start + i * step, so the rounding of that product shows unaltered.
TEST(ComputeTicks, ValuesComeFromStartAndIndex) {
    EXPECT_EQ(compute_ticks(0, 1), (Ticks{0, 0.2, 0.4, 0.6000000000000001, 0.8, 1}));
    Ticks hundredths;
    for (int i = 0; i <= 10; ++i)
        hundredths.push_back(i * 0.01);
    EXPECT_EQ(compute_ticks(0, 0.1), hundredths); // log10 of the range is exactly -1
    EXPECT_EQ(hundredths.back(), 0.1);
}

TEST(ComputeTicks, TicksOutsideTheLimitsAreDropped) {
    EXPECT_EQ(compute_ticks(-1.3, 0.7), (Ticks{-1.0, -0.5, 0, 0.5}));
}

TEST(ComputeTicks, ReversedLimitsRunDownwards) {
    EXPECT_EQ(compute_ticks(10, 0), (Ticks{10, 8, 6, 4, 2, 0}));
    EXPECT_EQ(compute_ticks(0.7, -1.3), (Ticks{0.5, 0, -0.5, -1.0}));
}

TEST(ComputeTicks, DegenerateLimitsGiveNoTicks) {
    EXPECT_TRUE(compute_ticks(3, 3).empty());
    EXPECT_TRUE(compute_ticks(0, 0).empty());
    EXPECT_TRUE(compute_ticks(nan, 1).empty());
    EXPECT_TRUE(compute_ticks(0, nan).empty());
    EXPECT_TRUE(compute_ticks(0, inf).empty());
    EXPECT_TRUE(compute_ticks(-inf, 0).empty());
    EXPECT_TRUE(compute_ticks(-inf, inf).empty());
    // The range itself overflows.
    EXPECT_TRUE(compute_ticks(-1.7e308, 1.7e308).empty());
    // The smallest range there is: the step underflows to zero.
    EXPECT_TRUE(compute_ticks(0, std::numeric_limits<double>::denorm_min()).empty());
}

// Ranges far below the spacing of the numbers near the limits must still end.
TEST(ComputeTicks, TinyStepsTerminateWithFewTicks) {
    const std::vector<std::pair<double, double>> limits{
        {1e300, 1e300 * (1 + 1e-15)}, {1e16, 1e16 + 2},
        {-1e16 - 2, -1e16},           {1e300, std::nextafter(1e300, inf)},
        {1e300 * (1 + 1e-15), 1e300},
    };
    for (const auto& [lower, upper] : limits) {
        const Ticks ticks = compute_ticks(lower, upper);
        EXPECT_LE(ticks.size(), 1000u) << lower << " " << upper;
        for (double v : ticks) {
            EXPECT_GE(v, std::min(lower, upper));
            EXPECT_LE(v, std::max(lower, upper));
        }
    }
}

TEST(ComputeTicks, HugeValues) {
    const Ticks ticks = compute_ticks(0, 1e300);
    ASSERT_EQ(ticks.size(), 6u);
    EXPECT_EQ(ticks.front(), 0);
    EXPECT_DOUBLE_EQ(ticks.back(), 1e300);
}

TEST(FormatTickLabel, OneDecimalMoreThanNeeded) {
    EXPECT_EQ(format_tick_label(0), "0.0 ");
    EXPECT_EQ(format_tick_label(2), "2.0 ");
    EXPECT_EQ(format_tick_label(0.5), "0.50 ");
    EXPECT_EQ(format_tick_label(1.25), "1.250 ");
    EXPECT_EQ(format_tick_label(99.5), "99.50 ");
    EXPECT_EQ(format_tick_label(-1.5), "-1.50 ");
    EXPECT_EQ(format_tick_label(-200), "-200.0 ");
    EXPECT_EQ(format_tick_label(0.0000125), "0.0000125 ");
    EXPECT_EQ(format_tick_label(1e-7), "0.0 ");
    EXPECT_EQ(format_tick_label(0.6000000000000001), "0.60 ");
}

TEST(FormatTickLabel, HundredAndAboveShowNoDecimals) {
    EXPECT_EQ(format_tick_label(150), "150 ");
    EXPECT_EQ(format_tick_label(100), "100 ");
    EXPECT_EQ(format_tick_label(2500.75), "2501 ");
}

// A value whose millionths do not fit in 32 bits takes seven decimals.
TEST(FormatTickLabel, OutOfRangeDecimalCount) {
    EXPECT_EQ(format_tick_label(-5000), "-5000.0000000 ");
    EXPECT_EQ(format_tick_label(-3000.5), "-3000.5000000 ");
    EXPECT_EQ(format_tick_label(-1e300).substr(0, 5), "-1000");
    EXPECT_EQ(format_tick_label(-1e300).size(), 311u);
    EXPECT_EQ(format_tick_label(1e300).size(), 302u);
    EXPECT_EQ(format_tick_label(-inf), "-inf ");
    EXPECT_EQ(format_tick_label(inf), "inf ");
    EXPECT_EQ(format_tick_label(nan).back(), ' ');
}

//-----------------------------------------------------------------------------
// Automatic limits
//-----------------------------------------------------------------------------

Axes axes_with_data(double x_min, double x_max, double y_min, double y_max) {
    Axes axes;
    axes.data_x_min = x_min;
    axes.data_x_max = x_max;
    axes.data_y_min = y_min;
    axes.data_y_max = y_max;
    return axes;
}

TEST(ConfigureAxes, LinearMarginFromData) {
    Axes axes = axes_with_data(0, 199, -1, 1);
    configure_axes(axes);
    EXPECT_NEAR(axes.x_lim[0], -5.969999866, 1e-9);
    EXPECT_NEAR(axes.x_lim[1], 204.969999866, 1e-9);
    EXPECT_EQ(axes.x_lim[0], -199 * static_cast<double>(0.03f));
    EXPECT_EQ(axes.x_tick, compute_ticks(axes.x_lim[0], axes.x_lim[1]));
    EXPECT_EQ(axes.x_tick.front(), 0);
    EXPECT_EQ(axes.x_tick.back(), 200);
    EXPECT_EQ(axes.c_tick, compute_ticks(0, 1));
    EXPECT_EQ(axes.z_lim, (std::array<double, 2>{0, 10})); // no z data
    EXPECT_EQ(axes.z_tick, compute_ticks(0, 10));
}

TEST(ConfigureAxes, ManualAndEmptyAxesKeepTheirLimits) {
    Axes axes = axes_with_data(1e99, -1e99, 5, 5); // reset extents, then a single value
    axes.x_lim = {1, 2};
    configure_axes(axes);
    EXPECT_EQ(axes.x_lim, (std::array<double, 2>{1, 2}));
    EXPECT_EQ(axes.y_lim, (std::array<double, 2>{0, 10}));

    Axes manual = axes_with_data(0, 100, 0, 100);
    manual.x_lim_mode = 1;
    manual.x_lim = {3, 3};
    configure_axes(manual);
    EXPECT_EQ(manual.x_lim, (std::array<double, 2>{3, 3}));
    EXPECT_TRUE(manual.x_tick.empty());
}

// z takes the margin of the last of x and y that was set from data.
TEST(ConfigureAxes, ZMarginFollowsXAndY) {
    Axes log_axes = axes_with_data(1, 100, 1, 1000);
    log_axes.x_scale = 1;
    log_axes.y_scale = 1;
    log_axes.data_z_min = -1;
    log_axes.data_z_max = 3;
    configure_axes(log_axes);
    EXPECT_EQ(log_axes.x_lim, (std::array<double, 2>{1, 100}));
    EXPECT_EQ(log_axes.y_lim, (std::array<double, 2>{1, 1000}));
    EXPECT_EQ(log_axes.z_lim, (std::array<double, 2>{-1, 3}));

    Axes mixed = axes_with_data(1, 100, 0, 1);
    mixed.x_scale = 1;
    mixed.data_z_min = 0;
    mixed.data_z_max = 10;
    configure_axes(mixed);
    EXPECT_EQ(mixed.z_lim[1], 10 + 10 * static_cast<double>(0.03f));

    Axes no_xy = axes_with_data(1e99, -1e99, 1e99, -1e99);
    no_xy.data_z_min = 0;
    no_xy.data_z_max = 10;
    configure_axes(no_xy);
    EXPECT_EQ(no_xy.z_lim, (std::array<double, 2>{0, 10}));
}

TEST(ConfigureAxes, NonFiniteDataLeavesNoTicks) {
    Axes axes = axes_with_data(-1e308, 1e308, 0, inf);
    configure_axes(axes);
    EXPECT_TRUE(axes.x_tick.empty());
    EXPECT_TRUE(axes.y_tick.empty());
}

} // namespace
} // namespace rizodozad
