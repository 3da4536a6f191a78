#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rizodozad/core/engine.h"
#include "tests/support/app_fixture.h"
#include "tests/support/feedback.h"

namespace {

using testsupport::PrimitiveKind;

class Composition : public testsupport::AppTest {
  protected:
    void run_steps(int steps) {
        app.running = 1;
        testsupport::run_quietly(app, steps);
        app.running = 0;
    }

    std::string redraw_with_trace() {
        app.debug = 1;
        testing::internal::CaptureStdout();
        app.display_cycle();
        app.debug = 0;
        return testing::internal::GetCapturedStdout();
    }

    const rizodozad::Axes& axes(int handle) {
        return internals(app).axes_list.at(
            static_cast<std::size_t>(rizodozad::handle_index(handle)));
    }

    // Primitives drawn wholly below pixel row 100 from the bottom, where only the history
    // plot draws (the lower part of its frame, its ticks and tick labels).
    std::size_t drawn_in_history_strip() {
        constexpr float strip_top = 100;
        const auto capture = testsupport::capture_feedback([&] { app.display_cycle(); });
        std::size_t count = 0;
        for (const auto& p : capture.primitives) {
            bool inside = !p.vertices.empty();
            for (const auto& v : p.vertices)
                inside = inside && v.y < strip_top;
            if (inside) ++count;
        }
        return count;
    }
};

std::vector<int> handles_of(const std::vector<rizodozad::Layer>& layers) {
    std::vector<int> handles;
    for (const auto& layer : layers)
        handles.push_back(layer.handle);
    return handles;
}

} // namespace

TEST_F(Composition, OnePassMakesTheRecordsOfTheFieldPlots) {
    app.display_cycle();
    ASSERT_EQ(internals(app).figure_list.size(), 1u);
    EXPECT_EQ(internals(app).figure_list[0].children, (std::vector<int>{6, 106, 206}));
    EXPECT_EQ(handles_of(internals(app).layer_list), (std::vector<int>{6, 106, 206}));
    ASSERT_EQ(internals(app).layer_list.size(), 3u);
    EXPECT_EQ(internals(app).layer_list[0].name, "");
    EXPECT_EQ(internals(app).layer_list[1].name, "layer 1");
    EXPECT_EQ(internals(app).layer_list[2].name, "layer 2");
    ASSERT_EQ(internals(app).axes_list.size(), 7u);
    for (std::size_t k = 0; k < 7; ++k)
        EXPECT_EQ(internals(app).axes_list[k].handle, 100 * int(k) + 2);
    EXPECT_EQ(internals(app).layer_list[1].children, (std::vector<int>{202, 302, 402}));
    EXPECT_EQ(internals(app).layer_list[2].children, (std::vector<int>{502, 602}));

    ASSERT_EQ(internals(app).line_list.size(), 2u);
    EXPECT_EQ(axes(302).children, (std::vector<int>{3}));
    EXPECT_EQ(axes(402).children, (std::vector<int>{103}));
    EXPECT_TRUE(axes(602).children.empty());
    EXPECT_EQ(internals(app).line_list[0].color, "r");
    EXPECT_EQ(internals(app).line_list[1].color, "b");
    EXPECT_EQ(internals(app).line_list[0].y_data, app.Ez);
    EXPECT_EQ(internals(app).line_list[1].x_data, app.cell_x);

    EXPECT_EQ(axes(302).title, "Ez in space");
    EXPECT_EQ(axes(402).title, "Hz in space");
    EXPECT_EQ(axes(602).title, "Ez at point x[50]");
    EXPECT_EQ(internals(app).mode, rizodozad::display_mode::configuration);
}

TEST_F(Composition, FieldPlotsHaveFixedLimitsAndTheHzPlotFollowsItsData) {
    run_steps(40);
    app.display_cycle();
    const auto& ez = axes(302);
    EXPECT_EQ(ez.x_lim, (std::array<double, 2>{0, 200}));
    EXPECT_EQ(ez.x_lim_mode, 1);
    EXPECT_EQ(ez.y_lim, (std::array<double, 2>{-2, 2}));
    EXPECT_EQ(ez.y_lim_mode, 1);
    EXPECT_EQ(ez.type, 0);
    const auto& hz = axes(402);
    EXPECT_EQ(hz.x_lim_mode, 0);
    EXPECT_EQ(hz.y_lim_mode, 0);
    EXPECT_LT(hz.y_lim[1] - hz.y_lim[0], 1.0); // Hz is Ez / 120 pi: far below the Ez range
}

TEST_F(Composition, TheFirstHistoryValueRebuildsTheRecordsInTheSameRedraw) {
    app.display_cycle();
    const auto& history = axes(602);
    EXPECT_EQ(history.y_lim, (std::array<double, 2>{-1, 1}));
    EXPECT_EQ(history.x_lim_mode, 0);

    run_steps(1);
    const std::string trace = redraw_with_trace();
    EXPECT_NE(trace.find("not match in Line"), std::string::npos);
    EXPECT_NE(trace.find("allocation"), std::string::npos);
    ASSERT_EQ(internals(app).line_list.size(), 3u);
    EXPECT_EQ(axes(602).children, (std::vector<int>{203}));
    EXPECT_EQ(internals(app).line_list[2].x_data, (std::vector<double>{0}));
    EXPECT_EQ(internals(app).line_list[2].color, "b"); // no style: the line default

    run_steps(1);
    EXPECT_EQ(redraw_with_trace().find("allocation"), std::string::npos);
}

TEST_F(Composition, HistoryAxesDrawsNothingUntilTheFirstStepThenSpansTheSteps) {
    app.display_cycle();
    EXPECT_EQ(drawn_in_history_strip(), 0u);

    run_steps(7);
    EXPECT_GT(drawn_in_history_strip(), 0u);
    const auto& history = axes(602);
    EXPECT_EQ(history.x_lim, (std::array<double, 2>{0, 7}));
    EXPECT_EQ(history.x_lim_mode, 1);
    ASSERT_EQ(internals(app).line_list.size(), 3u);
    EXPECT_EQ(internals(app).line_list[2].y_data, app.ez_history);
    EXPECT_EQ(internals(app).line_list[2].x_data.back(), 6.0);
}
