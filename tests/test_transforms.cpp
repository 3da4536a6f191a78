// Data values to window, unit-square and unit-cube coordinates of the current axes.
#include <gtest/gtest.h>

#include <cmath>

#include "rizodozad/core/engine.h"

namespace {

using rizodozad::Axes;

class Transforms : public ::testing::Test {
  protected:
    void SetUp() override {
        internals(engine).axes_list.push_back(Axes{});
        internals(engine).current_axes.select(0);
    }
    Axes& axes() { return internals(engine).axes_list[0]; }

    rizodozad::ZarIdor engine;
};

TEST_F(Transforms, LinearAxesMapLimitsOntoTheRectangle) {
    axes().x_lim = {-10, 30};
    axes().y_lim = {100, 200};
    const auto [left, bottom, width, height] = axes().position;

    EXPECT_FLOAT_EQ(internals(engine).data_to_window_x(-10), left);
    EXPECT_FLOAT_EQ(internals(engine).data_to_window_x(30), left + width);
    EXPECT_FLOAT_EQ(internals(engine).data_to_window_x(0), left + 0.25f * width);
    EXPECT_FLOAT_EQ(internals(engine).data_to_window_y(150), bottom + 0.5f * height);
    EXPECT_FLOAT_EQ(internals(engine).data_to_unit_x(20), 0.75f);
    EXPECT_FLOAT_EQ(internals(engine).data_to_unit_y(250), 1.5f); // no clamping outside the limits
}

TEST_F(Transforms, LogarithmicAxesMapDecadesEvenly) {
    axes().x_scale = 1;
    axes().y_scale = 1;
    axes().x_lim = {1, 1000};
    axes().y_lim = {0.01, 100};
    const auto [left, bottom, width, height] = axes().position;

    EXPECT_FLOAT_EQ(internals(engine).data_to_window_x(10), left + width / 3);
    EXPECT_FLOAT_EQ(internals(engine).data_to_window_y(1), bottom + height / 2);
    EXPECT_FLOAT_EQ(internals(engine).data_to_unit_x(100), 2.0f / 3);
    EXPECT_FLOAT_EQ(internals(engine).data_to_unit_y(0.1), 0.25f);
}

TEST_F(Transforms, NonPositiveXOnLogAxisLiesOneWidthLeftOfTheFrame) {
    axes().x_scale = 1;
    axes().x_lim = {1, 100};
    const auto [left, bottom, width, height] = axes().position;

    EXPECT_FLOAT_EQ(internals(engine).data_to_window_x(0), left - width);
    EXPECT_FLOAT_EQ(internals(engine).data_to_window_x(-5), left - width);
}

TEST_F(Transforms, WithoutCurrentAxesEveryTransformGivesZero) {
    internals(engine).current_axes.clear();
    EXPECT_EQ(internals(engine).data_to_window_x(5), 0);
    EXPECT_EQ(internals(engine).data_to_window_y(5), 0);
    EXPECT_EQ(internals(engine).data_to_unit_x(5), 0);
    EXPECT_EQ(internals(engine).data_to_unit_y(5), 0);

    internals(engine).current_axes.select(3); // past the end of the list
    EXPECT_EQ(internals(engine).data_to_unit_x(5), 0);
}

TEST(UnitCubeCoordinate, MapsTheLimitPairOntoMinusOneToOne) {
    const std::array<double, 2> lim{0, 10};
    const float expected[] = {-1, -0.6f, -0.2f, 0.2f, 0.6f, 1};
    for (int k = 0; k <= 5; ++k)
        EXPECT_FLOAT_EQ(rizodozad::unit_cube_coordinate(2.0 * k, lim), expected[k]) << k;

    // Reversed limits flip the axis.
    EXPECT_FLOAT_EQ(rizodozad::unit_cube_coordinate(10, {10, 0}), -1);
    EXPECT_FLOAT_EQ(rizodozad::unit_cube_coordinate(2.5, {10, 0}), 0.5f);
}

} // namespace
