// What a program reaches through the face alone: fixed limits, an axes' frame in window
// pixels, line widths and the selection, checked against numbers worked by hand.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

#include "rizodozad/axes/ticks.h"
#include "rizodozad/core/engine.h"

namespace rizodozad {
namespace {

constexpr double pixel_tolerance = 1e-3; // positions are stored as float fractions

// One allocation pass of compose, then automatic limits and ticks as a display cycle
// sets them from the data.
void compose_and_configure(ZarIdor& engine, const std::function<void()>& compose) {
    engine.begin_pass(display_mode::allocation);
    compose();
    for (Axes& axes : internals(engine).axes_list)
        configure_axes(axes);
}

TEST(FaceLimits, FixedLimitsHoldWhateverTheDataSpans) {
    ZarIdor engine;
    compose_and_configure(engine, [&] {
        engine.subplot(1, 1, 1);
        engine.fix_limits({-1, 1}, {0, 5});
        engine.plot({-10, 10}, {-50, 50});
    });
    const Axes& axes = internals(engine).axes_list.back();
    EXPECT_EQ(axes.x_lim, (Limits{-1, 1}));
    EXPECT_EQ(axes.y_lim, (Limits{0, 5}));
    EXPECT_EQ(axes.x_lim_mode, limit_mode::manual);
    EXPECT_EQ(axes.y_lim_mode, limit_mode::manual);
}

TEST(FaceLimits, OneFixedAxisLeavesTheOthersToTheData) {
    ZarIdor engine;
    compose_and_configure(engine, [&] {
        engine.subplot(1, 1, 1);
        engine.fix_y_limits({-2, 2});
        engine.fix_z_limits({0, 3});
        engine.plot({0, 8}, {-50, 50});
    });
    const Axes& axes = internals(engine).axes_list.back();
    EXPECT_EQ(axes.x_lim_mode, limit_mode::automatic);
    EXPECT_LE(axes.x_lim[0], 0.0); // automatic limits cover the data
    EXPECT_GE(axes.x_lim[1], 8.0);
    EXPECT_EQ(axes.y_lim, (Limits{-2, 2}));
    EXPECT_EQ(axes.z_lim, (Limits{0, 3}));
    EXPECT_EQ(axes.z_lim_mode, limit_mode::manual);
}

// The top one of two rows in 800 x 400: the frame spans 0.13..0.905 of the width and,
// from the bottom, 0.555..0.9625 of the height.
TEST(FaceFrame, IsTheAxesPositionInPixelsFromTheTopLeft) {
    ZarIdor engine;
    engine.window_width = 800;
    engine.window_height = 400;
    int top = 0;
    compose_and_configure(engine, [&] { top = engine.subplot(2, 1, 1); });
    const std::optional<FramePx> frame = engine.axes_frame_px(top);
    ASSERT_TRUE(frame.has_value());
    EXPECT_NEAR(frame->left, 104, pixel_tolerance);
    EXPECT_NEAR(frame->right, 724, pixel_tolerance);
    EXPECT_NEAR(frame->top, 15, pixel_tolerance);
    EXPECT_NEAR(frame->bottom, 178, pixel_tolerance);
}

TEST(FaceFrame, HandlesThatNameNoAxesHaveNone) {
    ZarIdor engine;
    int line = 0;
    compose_and_configure(engine, [&] { line = engine.plot({0, 1}, {0, 1}); });
    for (int handle : {line, make_handle(99, kind::axes), make_handle(-1, kind::axes), 0})
        EXPECT_FALSE(engine.axes_frame_px(handle).has_value()) << handle;
}

TEST(FaceLineWidth, GoesToTheLineOrPatchCreatedLastAndNeverToAnAxes) {
    ZarIdor engine;
    compose_and_configure(engine, [&] {
        engine.plot({0, 1}, {0, 1});
        engine.set_line_width(3);
        engine.patch(Matrix{{0, 1, 1}}, Matrix{{0, 0, 1}});
        engine.set_line_width(2);
        engine.subplot(1, 1, 1);
        engine.set_line_width(7);
    });
    const Engine& e = internals(engine);
    EXPECT_EQ(e.line_list.at(0).line_width, 3.0f);
    EXPECT_EQ(e.patch_list.at(0).line_width, 2.0f);
    for (const Axes& axes : e.axes_list)
        EXPECT_EQ(axes.line_width, Axes{}.line_width);
}

TEST(FaceSelection, DeselectingLeavesNoAxesSelected) {
    ZarIdor engine;
    internals(engine).selected_axes = 1;
    engine.deselect_axes();
    EXPECT_EQ(internals(engine).selected_axes, -1);
}

TEST(FaceCycle, NextPassIsAllocationUntilRecordsAreBuilt) {
    ZarIdor engine;
    EXPECT_EQ(engine.next_pass(), display_mode::allocation);
    engine.begin_pass(display_mode::configuration);
    EXPECT_EQ(engine.next_pass(), display_mode::configuration);
    engine.rebuild();
    EXPECT_EQ(engine.next_pass(), display_mode::allocation);
}

} // namespace
} // namespace rizodozad
