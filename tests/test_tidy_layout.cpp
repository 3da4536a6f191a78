// Ticks sized to the screen, shared-decimal labels, decade ticks, legend corners and
// read-outs, checked against hand-worked values and invariants.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "rizodozad/axes/legend_place.h"
#include "rizodozad/axes/readout.h"
#include "rizodozad/axes/tick_labels.h"
#include "rizodozad/axes/tidy_ticks.h"

namespace rizodozad::tidy {
namespace {

using Values = std::vector<double>;
using Labels = std::vector<std::string>;

void expect_values(const Values& got, const Values& want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < got.size(); ++i)
        EXPECT_NEAR(got[i], want[i], 1e-12 * std::max(1.0, std::fabs(want[i]))) << "at " << i;
}

//-----------------------------------------------------------------------------
// Tick values
//-----------------------------------------------------------------------------

TEST(LinearTicks, CountFollowsTheAxisLengthInPixels) {
    expect_values(linear_ticks(0, 1, 400, 40), {0, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1});
    expect_values(linear_ticks(1, 0, 100, 40), {0, 0.5, 1});
    EXPECT_EQ(linear_ticks(-1, 1, 100, 40)[1], 0.0); // exactly zero, not 1e-17
    EXPECT_TRUE(linear_ticks(1, 1, 100, 40).empty());
    EXPECT_TRUE(linear_ticks(0, NAN, 100, 40).empty());
    EXPECT_TRUE(linear_ticks(0, 1, 0, 40).empty());
    // Far from zero a step below the numbers' resolution must still end.
    EXPECT_FALSE(linear_ticks(1e20, 1e20 + 16384, 1e5, 40).empty());
}

// On the 1-2-5 ladder the next finer step is at least 1/2.5 of a step, so the chosen
// spacing is at least the minimum and less than 2.5 times it.
TEST(LinearTicks, SpacingIsTheFinestThatKeepsTheMinimum) {
    for (double length : {120.0, 300.0, 777.0, 1600.0})
        for (const auto& [lo, hi] : {std::pair{-2.0, 2.0}, {0.0, 1001.0}, {3e-7, 9e-7}}) {
            const Values ticks = linear_ticks(lo, hi, length, 40);
            ASSERT_GE(ticks.size(), 2u);
            const double spacing_px = (ticks[1] - ticks[0]) * length / (hi - lo);
            EXPECT_GE(spacing_px, 40 * (1 - 1e-9)) << lo << ".." << hi << " at " << length;
            EXPECT_LT(spacing_px, 100) << lo << ".." << hi << " at " << length;
        }
}

TEST(DecadeTicks, MajorsAtPowersOfTenMinorsAtTheirMultiples) {
    const LogTicks ticks = decade_ticks(1, 1e6, 600, 40);
    expect_values(ticks.majors, {1, 10, 100, 1e3, 1e4, 1e5, 1e6});
    Values minors;
    for (double power = 1; power < 1e6; power *= 10)
        for (int k = 2; k <= 9; ++k)
            minors.push_back(k * power);
    expect_values(ticks.minors, minors);
}

TEST(DecadeTicks, NarrowDecadesLabelEveryFifthAndMarkTheRest) {
    const LogTicks ticks = decade_ticks(1e10, 1e-10, 300, 40); // 15 px per decade
    expect_values(ticks.majors, {1e-10, 1e-5, 1, 1e5, 1e10});
    EXPECT_EQ(ticks.minors.size(), 16u);
    EXPECT_TRUE(decade_ticks(0, 10, 300, 40).majors.empty());
}

TEST(DecadeTicks, WithinOneDecadeFallsBackToLinearMajors) {
    const LogTicks inside = decade_ticks(200, 900, 200, 40);
    expect_values(inside.majors, {200, 400, 600, 800});
    expect_values(inside.minors, {300, 500, 700, 900});
    const LogTicks one_power = decade_ticks(5, 50, 300, 40);
    expect_values(one_power.majors, {10, 20, 30, 40, 50});
    expect_values(one_power.minors, {5, 6, 7, 8, 9});
}

//-----------------------------------------------------------------------------
// Labels
//-----------------------------------------------------------------------------

// Every label reads back as its tick (times the exponent) to within half its last
// decimal, and all labels of an axis show the same number of decimals.
void expect_faithful(const Values& ticks, const AxisLabels& got, int exponent) {
    ASSERT_EQ(got.labels.size(), ticks.size());
    const auto decimals = [](const std::string& s) {
        const auto dot = s.find('.');
        return dot == std::string::npos ? 0 : int(s.size() - dot - 1);
    };
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const std::string& label = got.labels[i];
        EXPECT_EQ(decimals(label), decimals(got.labels[0])) << label;
        const bool negative_zero =
            label[0] == '-' && label.find_first_of("123456789") == std::string::npos;
        EXPECT_FALSE(negative_zero) << label;
        const double unit = std::pow(10.0, exponent - decimals(label));
        EXPECT_NEAR(std::strtod(label.c_str(), nullptr) * std::pow(10.0, exponent), ticks[i],
                    unit / 2)
            << label;
    }
}

TEST(AxisLabels, ShareDecimalsAndNeverShowMinusZero) {
    const Values halves{-1, -0.5, -1e-17, 0.5, 1, 1.5};
    const AxisLabels labels = format_axis_labels(halves);
    EXPECT_EQ(labels.labels, (Labels{"-1.0", "-0.5", "0.0", "0.5", "1.0", "1.5"}));
    EXPECT_EQ(labels.exponent, "");
    expect_faithful({0, 0.25, 0.5}, format_axis_labels({0, 0.25, 0.5}), 0);
    expect_faithful({0, 200, 400}, format_axis_labels({0, 200, 400}), 0);
    EXPECT_EQ(format_axis_labels({0, 200, 400}).labels, (Labels{"0", "200", "400"}));
}

TEST(AxisLabels, TinyAndHugeNumbersShareAnExponent) {
    const AxisLabels tiny = format_axis_labels({-4e-7, -2e-7, 0, 2e-7, 4e-7});
    EXPECT_EQ(tiny.exponent, "x1e-9");
    expect_faithful({-4e-7, -2e-7, 0, 2e-7, 4e-7}, tiny, -9);
    const AxisLabels huge = format_axis_labels({0, 25000, 50000});
    EXPECT_EQ(huge.exponent, "x1e3");
    EXPECT_EQ(huge.labels, (Labels{"0", "25", "50"}));
}

TEST(AxisLabels, DecadeLabelsArePlainOnlyWhileShort) {
    EXPECT_EQ(format_decade_labels({0.001, 0.1, 1, 100, 1000}),
              (Labels{"0.001", "0.1", "1", "100", "1000"}));
    EXPECT_EQ(format_decade_labels({1e-10, 1, 1e10}), (Labels{"1e-10", "1e0", "1e10"}));
}

//-----------------------------------------------------------------------------
// Legend corner
//-----------------------------------------------------------------------------

TEST(LegendPlacement, TheCornerThatHidesTheLeastData) {
    const PixelBox area{0, 0, 400, 300};
    // A rising diagonal runs through the bottom left and top right corners.
    PixelLine diagonal;
    for (int i = 0; i <= 40; ++i)
        diagonal.push_back({i * 10.0, i * 7.5});
    const LegendPlace place = place_legend(area, 80, 40, 5, {diagonal});
    EXPECT_EQ(place.corner, Corner::top_left);
    EXPECT_EQ(place.covered, 0);
    EXPECT_DOUBLE_EQ(place.box.left, 5);
    EXPECT_DOUBLE_EQ(place.box.bottom, 300 - 5 - 40);

    // Two far vertices: only the segment between them crosses both top boxes.
    const PixelLine across_top{{0, 280}, {400, 280}};
    EXPECT_EQ(place_legend(area, 80, 40, 5, {across_top}).corner, Corner::bottom_left);

    // Dense data everywhere but the bottom right.
    PixelLine cloud;
    for (double x = 0; x <= 400; x += 10)
        for (double y = 0; y <= 300; y += 10)
            if (x < 300 || y > 60) cloud.push_back({x, y});
    cloud.push_back({NAN, NAN});
    EXPECT_EQ(place_legend(area, 80, 40, 5, {cloud}).corner, Corner::bottom_right);
}

TEST(LegendPlacement, TextsInThePlotAreNeverCoveredWhileAPlaceIsClear) {
    const PixelBox area{0, 0, 400, 300};
    const PixelLine diagonal{{0, 0}, {400, 300}}; // crosses the bottom left and top right
    const PixelLine low{{0, 20}, {400, 20}};      // crosses both bottom corners
    EXPECT_EQ(place_legend(area, 80, 40, 5, {diagonal, low}).corner, Corner::top_left);
    // A label there outweighs the data: a corner that covers some is taken instead.
    const PixelBox top_left_label{10, 270, 40, 13};
    const LegendPlace beside_label =
        place_legend(area, 80, 40, 5, {diagonal, low}, {top_left_label});
    EXPECT_EQ(beside_label.texts_covered, 0);
    EXPECT_EQ(beside_label.corner, Corner::top_right);

    // Labels in all four corners (as region labels at the top and marker labels at the
    // bottom of a space plot): a place off the corners, clear of every one.
    const std::vector<PixelBox> corner_labels{
        {10, 270, 40, 13}, {350, 270, 40, 13}, {10, 10, 40, 13}, {350, 10, 40, 13}};
    const LegendPlace off = place_legend(area, 80, 40, 5, {diagonal}, corner_labels);
    EXPECT_EQ(off.corner, Corner::along_edge);
    EXPECT_EQ(off.texts_covered, 0);
    for (const PixelBox& label : corner_labels)
        EXPECT_FALSE(overlap(off.box, label));
    EXPECT_TRUE(off.box.left >= 5 && off.box.left + off.box.width <= 395 && off.box.bottom >= 5 &&
                off.box.bottom + off.box.height <= 295);
}

//-----------------------------------------------------------------------------
// Read-out
//-----------------------------------------------------------------------------

TEST(Readout, DigitsFollowWhatOnePixelResolves) {
    EXPECT_EQ(format_readout_value(0.123456, {0, 1, 1000}), "0.123");
    EXPECT_EQ(format_readout_value(0.123456, {0, 1, 100}), "0.12");
    EXPECT_EQ(format_readout_value(-0.0001, {-1, 1, 100}), "0.00");
    EXPECT_EQ(format_readout_value(123456789, {0, 1e9, 1000}), "1.23e+08");
    EXPECT_EQ(format_readout_value(2.5e-7, {0, 1e-6, 1000}), "2.50e-07");
    // Log axis over 1..1e6 on 600 px: at 2346 one pixel spans about 55.
    EXPECT_EQ(format_readout_value(2345.678, {1, 1e6, 600, true}), "2346");
}

TEST(Readout, NearestPointOfTheNearestLine) {
    Line rising;
    rising.x_data = {0, 10};
    rising.y_data = {0, 10};
    Line level; // vertices far outside, a segment just under the pointer
    level.x_data = {-100, 100};
    level.y_data = {5, 5};
    const ScreenAxis axis{0, 10, 100};
    const NearestPoint p = nearest_point({&rising, &level}, 60, 52, axis, axis);
    ASSERT_TRUE(p.found);
    EXPECT_EQ(p.line, 1u);
    EXPECT_EQ(p.index, 1u);
    EXPECT_EQ(readout_text(6, 5.2, axis, axis, p), "(6.0, 5.2)  nearest: line 2 (100, 5)");
    // Named by the legend's entry where it has one, counted where it has none.
    EXPECT_EQ(readout_text(6, 5.2, axis, axis, p, {"R", "T theory"}),
              "(6.0, 5.2)  nearest: T theory (100, 5)");
    EXPECT_EQ(readout_text(6, 5.2, axis, axis, p, {"R", ""}),
              "(6.0, 5.2)  nearest: line 2 (100, 5)");
    EXPECT_EQ(readout_text(6, 5.2, axis, axis, p, {"R"}), "(6.0, 5.2)  nearest: line 2 (100, 5)");

    Line unplottable; // nothing of it can be drawn on a logarithmic axis
    unplottable.x_data = {-1, 0};
    unplottable.y_data = {1, 2};
    const ScreenAxis log_axis{1, 100, 100, true};
    EXPECT_FALSE(nearest_point({&unplottable}, 10, 10, log_axis, log_axis).found);
    EXPECT_EQ(readout_text(6, 5.2, axis, axis, NearestPoint{}), "(6.0, 5.2)");
}

} // namespace
} // namespace rizodozad::tidy
