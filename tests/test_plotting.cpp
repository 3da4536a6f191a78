// Lines through the passes: create-or-match, stored data, data extents, subplot.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "rizodozad/core/engine.h"

namespace rizodozad {
namespace {

using Values = std::vector<double>;

// Runs one pass of `compose` the way the display cycle starts it: counters at
// zero, nothing current, and fresh lists for an allocation pass.
void run_pass(ZarIdor& engine, int mode, const std::function<void()>& compose) {
    engine.begin_pass(mode);
    compose();
}

TEST(Linspace, SpacesEvenlyAndNeverReturnsEmpty) {
    EXPECT_EQ(linspace(0, 1, 5), (Values{0, 0.25, 0.5, 0.75, 1}));
    EXPECT_EQ(linspace(0, 0, 1), (Values{0}));
    EXPECT_EQ(linspace(3, 9, 0), (Values{3}));
    EXPECT_EQ(linspace(3, 9, -4), (Values{3}));
    const Values cells = linspace(0.0, 199.0, 200);
    ASSERT_EQ(cells.size(), 200u);
    for (std::size_t i = 0; i < cells.size(); ++i)
        EXPECT_EQ(cells[i], static_cast<double>(i));
}

TEST(Plotting, LinesTakeConsecutiveHandlesUnderTheCurrentAxes) {
    ZarIdor engine;
    run_pass(engine, display_mode::allocation, [&] {
        EXPECT_EQ(engine.plot({1, 2}, {3, 4}), 3);
        EXPECT_EQ(internals(engine).last_handle, 3);
        EXPECT_EQ(engine.create_line(), 103);
        EXPECT_EQ(engine.plot_y({5, 6, 7}), 203);
        EXPECT_EQ(internals(engine).last_handle, 203);
    });
    ASSERT_EQ(internals(engine).line_list.size(), 3u);
    EXPECT_TRUE(internals(engine).line_list[1].x_data.empty());
    EXPECT_EQ(internals(engine).line_list[0].x_data, (Values{1, 2}));
    EXPECT_EQ(internals(engine).line_list[0].y_data, (Values{3, 4}));
    EXPECT_EQ(internals(engine).line_list[2].x_data, (Values{0, 1, 2}));
    EXPECT_EQ(internals(engine).axes_list[1].children, (std::vector<int>{3, 103, 203}));
}

TEST(Plotting, PlotYOfNothingCreatesNoLine) {
    ZarIdor engine;
    run_pass(engine, display_mode::allocation, [&] { EXPECT_EQ(engine.plot_y({}), 0); });
    EXPECT_TRUE(internals(engine).line_list.empty());
    EXPECT_EQ(internals(engine).line_counter, 0);
}

// Properties given once in the allocation pass outlive the data refill.
TEST(Plotting, ConfigurationRefillsDataButKeepsStyle) {
    ZarIdor engine;
    Values y{1, 2, 3};
    const auto compose = [&] {
        engine.plot({0, 1, 2}, y);
        if (internals(engine).mode == display_mode::allocation) engine.set("r");
    };
    run_pass(engine, display_mode::allocation, compose);
    internals(engine).line_list[0].error_upper = {9, 9, 9};
    y = {7, 8, 9};
    run_pass(engine, display_mode::configuration, compose);

    ASSERT_EQ(internals(engine).line_list.size(), 1u);
    const Line& line = internals(engine).line_list[0];
    EXPECT_EQ(line.y_data, (Values{7, 8, 9}));
    EXPECT_TRUE(line.error_upper.empty());
    EXPECT_EQ(line.color, "r");
    EXPECT_EQ(internals(engine).axes_list[1].data_y_min, 7);
    EXPECT_EQ(internals(engine).axes_list[1].data_y_max, 9);
}

TEST(Plotting, HiddenLayerStoresNothing) {
    ZarIdor engine;
    const auto compose = [&] {
        engine.layer("shown later");
        engine.create_axes();
        engine.plot({1, 2}, {3, 4});
    };
    run_pass(engine, display_mode::allocation, compose);
    internals(engine).layer_list[1].visible = 0;
    run_pass(engine, display_mode::configuration, compose);

    const Axes& axes = internals(engine).axes_list[3];
    EXPECT_TRUE(internals(engine).line_list[0].x_data.empty());
    EXPECT_TRUE(internals(engine).line_list[0].y_data.empty());
    EXPECT_EQ(axes.visible, 0);
    EXPECT_GT(axes.data_x_min, axes.data_x_max); // still no data
    EXPECT_EQ(internals(engine).layer_list[1].name, "shown later");
}

// A pass that composes more lines than were built: the first extra line has no
// record of its own and writes into the one matched before it; with none matched
// before it, the data is dropped.
TEST(Plotting, LinesBeyondTheBuiltOnesFindNoRecordOfTheirOwn) {
    ZarIdor engine;
    run_pass(engine, display_mode::allocation, [] {});
    run_pass(engine, display_mode::configuration, [&] { engine.plot({1}, {2}); });
    EXPECT_TRUE(internals(engine).line_list.empty());
    EXPECT_EQ(internals(engine).line_counter, 1);
    EXPECT_EQ(internals(engine).current_line.get(), nullptr);

    run_pass(engine, display_mode::allocation, [&] { engine.plot({1}, {2}); });
    run_pass(engine, display_mode::configuration, [&] {
        engine.plot({1}, {2});
        engine.plot({5, 6}, {7, 8});
    });
    ASSERT_EQ(internals(engine).line_list.size(), 1u);
    EXPECT_EQ(internals(engine).line_list[0].x_data, (Values{5, 6}));
}

//-----------------------------------------------------------------------------
// Data extents
//-----------------------------------------------------------------------------

TEST(DataRange, ResetInEachConfigurationPassThenWidenedByLines) {
    ZarIdor engine;
    Values x{-5, 10};
    const auto compose = [&] {
        engine.plot(x, {1, 2});
        engine.plot({0.5, 3}, {-4, 0});
    };
    run_pass(engine, display_mode::allocation, compose);
    EXPECT_EQ(internals(engine).axes_list[1].data_x_min, -5);

    x = {2, 4};
    run_pass(engine, display_mode::configuration, [&] {
        EXPECT_EQ(internals(engine).axes_list[1].data_x_min, 1e99); // before any line of this pass
        EXPECT_EQ(internals(engine).axes_list[1].data_z_max, -1e99);
        compose();
    });
    const Axes& axes = internals(engine).axes_list[1];
    EXPECT_EQ(axes.data_x_min, 0.5);
    EXPECT_EQ(axes.data_x_max, 4);
    EXPECT_EQ(axes.data_y_min, -4);
    EXPECT_EQ(axes.data_y_max, 2);
}

TEST(DataRange, LogScaleKeepsNonPositiveOutOfTheLowerEndOnly) { // on x and y alike
    ZarIdor engine;
    run_pass(engine, display_mode::allocation, [&] {
        internals(engine).current_axes->x_scale = 1;
        internals(engine).current_axes->y_scale = 1;
        engine.plot({-1, 0, 2, 5}, {-3, 1, 1, 1});
    });
    const Axes& axes = internals(engine).axes_list[1];
    EXPECT_EQ(axes.data_x_min, 2);
    EXPECT_EQ(axes.data_x_max, 5);
    EXPECT_EQ(axes.data_y_min, 1);
    EXPECT_EQ(axes.data_y_max, 1);
}

TEST(DataRange, EmptyAndNanDataLeaveExtentsAlone) {
    ZarIdor engine;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    run_pass(engine, display_mode::allocation, [&] {
        engine.plot({}, {});
        engine.plot({nan}, {nan});
        internals(engine).current_axes->x_scale = 7; // no such scale: x is not gathered
        engine.plot({1}, {2});
    });
    const Axes& axes = internals(engine).axes_list[1];
    EXPECT_EQ(axes.data_x_min, 1e99);
    EXPECT_EQ(axes.data_x_max, -1e99);
    EXPECT_EQ(axes.data_y_min, 2);
    EXPECT_EQ(axes.data_y_max, 2);
}

//-----------------------------------------------------------------------------
// Axes records and subplot
//-----------------------------------------------------------------------------

TEST(Subplot, SingleColumnStacksRowsFromTheTop) {
    ZarIdor engine;
    run_pass(engine, display_mode::allocation, [&] {
        EXPECT_EQ(engine.subplot(3, 1, 1), 202);
        EXPECT_EQ(engine.subplot(3, 1, 2), 302);
        EXPECT_EQ(engine.subplot(3, 1, 3), 402);
    });
    const Axes& middle = internals(engine).axes_list[3];
    EXPECT_EQ(middle.position, (std::array<float, 4>{0.13f, 0.37f, 0.775f, 0.27166667f}));
    EXPECT_EQ(middle.position_3d, (std::array<float, 4>{0, 0.33333334f, 1, 0.33333334f}));
    EXPECT_NEAR(internals(engine).axes_list[2].position[1], 0.7033, 1e-4);
    EXPECT_NEAR(internals(engine).axes_list[4].position[1], 0.0367, 1e-4);
    EXPECT_EQ(internals(engine).axes_list[2].position_3d[1], static_cast<float>(2.0 / 3.0));
    EXPECT_EQ(internals(engine).axes_list[4].position_3d[1], 0.0f);
}

TEST(Subplot, ColumnsCountRowByRowFromTheTopLeft) {
    ZarIdor engine;
    run_pass(engine, display_mode::allocation, [&] {
        engine.subplot(2, 2, 2);
        engine.subplot(2, 2, 3);
        engine.subplot(0, 1, 1); // no grid: the default rectangle stays
    });
    const Axes& top_right = internals(engine).axes_list[2];
    EXPECT_FLOAT_EQ(top_right.position[0], static_cast<float>((1 + 0.13) / 2));
    EXPECT_FLOAT_EQ(top_right.position[1], static_cast<float>((1 + 0.11) / 2));
    EXPECT_FLOAT_EQ(top_right.position[2], static_cast<float>(0.775 / 2));
    EXPECT_EQ(top_right.position_3d, (std::array<float, 4>{0.5f, 0.5f, 0.5f, 0.5f}));
    const Axes& bottom_left = internals(engine).axes_list[3];
    EXPECT_FLOAT_EQ(bottom_left.position[0], static_cast<float>(0.13 / 2));
    EXPECT_FLOAT_EQ(bottom_left.position[1], static_cast<float>(0.11 / 2));
    EXPECT_EQ(internals(engine).axes_list[4].position,
              (std::array<float, 4>{0.13f, 0.11f, 0.775f, 0.815f}));
}

// Cells before the first lie above the grid, however far; the arithmetic must not wrap.
TEST(Subplot, CellsFarOutsideTheGridStayOnTheirSide) {
    constexpr int lowest = std::numeric_limits<int>::min();
    constexpr int highest = std::numeric_limits<int>::max();
    ZarIdor engine;
    run_pass(engine, display_mode::allocation, [&] {
        engine.subplot(1, 1, lowest);
        engine.subplot(highest, 2, highest);
    });
    EXPECT_GT(internals(engine).axes_list[2].position[1], 1.0f);
    EXPECT_EQ(internals(engine).axes_list[2].position[0], 0.13f);
    EXPECT_LT(internals(engine).axes_list[3].position[1], 1.0f);
    EXPECT_FLOAT_EQ(internals(engine).axes_list[3].position[0], static_cast<float>(0.13 / 2));
}

// Axes writes of the application land on the matched record, and the extra call
// of a pass that composes one axes too many keeps the previous axes current.
TEST(Subplot, AxesAreMatchedByPositionInLaterPasses) {
    ZarIdor engine;
    const auto compose = [&] {
        engine.subplot(2, 1, 1);
        internals(engine).current_axes->title = "top";
    };
    run_pass(engine, display_mode::allocation, compose);
    internals(engine).axes_list[2].selected = 1;
    run_pass(engine, display_mode::configuration, [&] {
        compose();
        engine.create_axes();
        internals(engine).current_axes->title = "extra";
    });
    ASSERT_EQ(internals(engine).axes_list.size(), 3u);
    EXPECT_EQ(internals(engine).axes_list[2].title, "extra");
    EXPECT_EQ(internals(engine).axes_list[2].selected, 1);
    EXPECT_EQ(internals(engine).axes_counter, 4);
}

TEST(Creators, SurfacesAndPatchesRefillDataButTextsKeepTheirs) {
    ZarIdor engine;
    const auto compose = [&] {
        engine.create_surface();
        engine.create_patch();
        engine.create_text();
    };
    run_pass(engine, display_mode::allocation, compose);
    internals(engine).surface_list[0].z_data = {{1, 2}};
    internals(engine).surface_list[0].edge_color = "r";
    internals(engine).patch_list[0].x_data = {{1, 2, 3}};
    internals(engine).patch_list[0].c_data = {{1, 0, 0}};
    internals(engine).text_list[0].text = "label";
    run_pass(engine, display_mode::configuration, compose);

    EXPECT_TRUE(internals(engine).surface_list[0].z_data.empty());
    EXPECT_EQ(internals(engine).surface_list[0].edge_color, "r");
    EXPECT_TRUE(internals(engine).patch_list[0].x_data.empty());
    EXPECT_TRUE(internals(engine).patch_list[0].c_data.empty());
    EXPECT_EQ(internals(engine).text_list[0].text, "label");
    EXPECT_EQ(internals(engine).current_text.get(), &internals(engine).text_list[0]);
}

} // namespace
} // namespace rizodozad
