#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <string>

#include "rizodozad/core/engine.h"
#include "tests/support/feedback.h"
#include "tests/support/gl_fixture.h"

namespace {

using rizodozad::Axes;
using testsupport::PrimitiveKind;

constexpr int left_button = 0;
constexpr int right_button = 2;
constexpr int press = 0;
constexpr int release = 1;
constexpr int three_dimensional = 1;

class Mouse : public testsupport::GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        testsupport::size_like_window(engine);
        internals(engine).axes_list.reserve(8); // the tests hold references to the records they add
    }

    Axes& add_axes(std::array<float, 4> position = {0.13f, 0.11f, 0.775f, 0.815f}) {
        Axes& axes = internals(engine).axes_list.emplace_back();
        axes.position = position;
        return internals(engine).axes_list.back();
    }

    Axes& add_turnable_axes() {
        Axes& axes = add_axes({0, 0, 1, 1});
        axes.type = three_dimensional;
        return axes;
    }

    void click(int x, int y) { engine.axes_click(left_button, press, x, y); }

    rizodozad::ZarIdor engine;
};

// The fraction of an axes' width at which a press lands, computed as the handler does.
double fraction(float window_coordinate, float start, float extent) {
    return (window_coordinate - start) / extent;
}

} // namespace

TEST_F(Mouse, BothBordersOfAnAxesAreInside) {
    add_axes({0.25f, 0.25f, 0.5f, 0.5f}); // pixels 200..600 by 100..300, exact in float
    click(200, 300);                      // left and top border
    EXPECT_EQ(internals(engine).selected_axes, 0);
    click(600, 100); // right and bottom border
    EXPECT_EQ(internals(engine).selected_axes, 0);
    EXPECT_EQ(internals(engine).axes_list[0].selected, 1);
    click(601, 200);
    EXPECT_EQ(internals(engine).selected_axes, -1);
    EXPECT_EQ(internals(engine).axes_list[0].selected, 0);
    click(400, 301);
    EXPECT_EQ(internals(engine).selected_axes, -1);
    EXPECT_EQ(internals(engine).mouse_down_x, 400.0f);
    EXPECT_EQ(internals(engine).mouse_down_y, 301.0f);
}

TEST_F(Mouse, ASecondPressInTheSelectedAxesReadsOffDataCoordinates) {
    Axes& axes = add_axes();
    axes.x_lim = {-4, 6};
    axes.y_lim = {100, 300};
    click(400, 200);
    EXPECT_EQ(internals(engine).selected_axes, 0);
    EXPECT_EQ(axes.selected, 1);
    EXPECT_EQ(axes.mouse_x, 0.0); // the first press only selects
    EXPECT_EQ(axes.mouse_y, 0.0);

    click(400, 200);
    EXPECT_EQ(internals(engine).selected_axes, 0);
    EXPECT_DOUBLE_EQ(axes.mouse_x, -4 + 10 * fraction(0.5f, 0.13f, 0.775f));
    EXPECT_DOUBLE_EQ(axes.mouse_y, 100 + 200 * fraction(0.5f, 0.11f, 0.815f));
    EXPECT_NEAR(axes.mouse_x, -4 + 10 * (0.5 - 0.13) / 0.775, 1e-5);

    axes.mouse_capture = 0;
    click(200, 100);
    EXPECT_DOUBLE_EQ(axes.mouse_x, -4 + 10 * fraction(0.5f, 0.13f, 0.775f));
}

TEST_F(Mouse, OnlyThePreviouslySelectedAxesCaptures) {
    Axes& top = add_axes({0, 0.5f, 1, 0.5f});
    Axes& bottom = add_axes({0, 0, 1, 0.5f});
    click(400, 100); // selects the top one
    click(400, 300); // lands in the bottom one: selects it, captures nowhere
    EXPECT_EQ(internals(engine).selected_axes, 1);
    EXPECT_EQ(top.selected, 0);
    EXPECT_EQ(bottom.selected, 1);
    EXPECT_EQ(top.mouse_x, 0.0);
    EXPECT_EQ(bottom.mouse_x, 0.0);
}

TEST_F(Mouse, OverlappingAxesAreAllMarkedAndTheLastIsTheSelection) {
    Axes& under = add_axes();
    Axes& over = add_axes();
    click(400, 200);
    EXPECT_EQ(under.selected, 1);
    EXPECT_EQ(over.selected, 1);
    EXPECT_EQ(internals(engine).selected_axes, 1);
}

TEST_F(Mouse, EveryHighlightedAxesUnderASecondPressReadsOffItsData) {
    Axes& plot = add_axes({0.13f, 0.5f, 0.775f, 0.4f});
    plot.x_lim = {0, 200};
    Axes& empty_over_it = add_axes(); // the whole default rectangle, last in the list
    click(400, 100);
    ASSERT_EQ(internals(engine).selected_axes, 1);
    click(400, 100);
    EXPECT_DOUBLE_EQ(plot.mouse_x, 200 * fraction(0.5f, 0.13f, 0.775f));
    EXPECT_NE(empty_over_it.mouse_x, 0.0);
    EXPECT_EQ(plot.selected, 1);
}

TEST_F(Mouse, HiddenAxesNeitherSelectNorCapture) {
    Axes& shown = add_axes();
    Axes& hidden = add_axes();
    hidden.visible = 0;
    click(400, 200);
    EXPECT_EQ(internals(engine).selected_axes, 0);
    EXPECT_EQ(shown.selected, 1);
    EXPECT_EQ(hidden.selected, 0);

    internals(engine).selected_axes = 1; // as if it had been chosen before its layer was hidden
    click(400, 200);
    EXPECT_EQ(hidden.mouse_x, 0.0);
    EXPECT_EQ(internals(engine).selected_axes, 0);

    shown.visible = 0;
    shown.mouse_x = 0;
    click(400, 200);
    EXPECT_EQ(internals(engine).selected_axes, -1);
    EXPECT_EQ(shown.mouse_x, 0.0);
}

TEST_F(Mouse, AStaleSelectionIndexCountsAsNoSelection) {
    Axes& axes = add_axes();
    internals(engine).selected_axes = 7;
    click(400, 200);
    EXPECT_EQ(axes.mouse_x, 0.0);
    EXPECT_EQ(internals(engine).selected_axes, 0);
}

// The most negative y lies far above the window, where no integer flip may wrap it below.
TEST_F(Mouse, PressesAtTheEndsOfTheIntegerRangeLandOnTheirSide) {
    add_axes({0, 1, 1, 1e7f}); // from the top edge of the window upwards
    click(400, std::numeric_limits<int>::min());
    EXPECT_EQ(internals(engine).selected_axes, 0);
    click(400, std::numeric_limits<int>::max());
    EXPECT_EQ(internals(engine).selected_axes, -1);
}

TEST_F(Mouse, ReleasesAndOtherButtonsChangeNothing) {
    Axes& axes = add_axes();
    click(400, 200);
    engine.axes_click(left_button, release, 10, 10);
    engine.axes_click(right_button, press, 10, 10);
    EXPECT_EQ(internals(engine).selected_axes, 0);
    EXPECT_EQ(axes.selected, 1);
    EXPECT_EQ(axes.mouse_x, 0.0);
    EXPECT_EQ(internals(engine).mouse_down_x, 400.0f);
}

TEST_F(Mouse, DraggingTurnsTheSelectedThreeDimensionalAxes) {
    Axes& first = add_turnable_axes(); // the engine's own first axes is never turned
    Axes& view = add_turnable_axes();
    Axes& flat = add_axes({0, 0, 1, 1});
    click(100, 100);
    ASSERT_EQ(view.selected, 1);
    EXPECT_EQ(internals(engine).drag_start_azimuth, 30.0f);
    EXPECT_EQ(internals(engine).drag_start_elevation, 30.0f);

    engine.axes_drag(150, 80);
    EXPECT_EQ(view.view_azimuth, 340.0f);
    EXPECT_EQ(view.view_elevation, 10.0f);
    EXPECT_EQ(first.view_azimuth, 30.0f);
    EXPECT_EQ(flat.view_azimuth, 30.0f);

    engine.axes_drag(100, 300); // angles are absolute from the press
    EXPECT_EQ(view.view_azimuth, 30.0f);
    EXPECT_EQ(view.view_elevation, 90.0f);
    engine.axes_drag(100, -200);
    EXPECT_EQ(view.view_elevation, -90.0f);

    engine.axes_drag(600, 100); // -470 is wrapped once only
    EXPECT_EQ(view.view_azimuth, -110.0f);
    engine.axes_drag(-400, 100); // 530 likewise
    EXPECT_EQ(view.view_azimuth, 170.0f);
}

TEST_F(Mouse, WithASingleAxesDraggingChangesNothing) {
    Axes& only = add_turnable_axes();
    click(100, 100);
    engine.axes_drag(150, 80);
    EXPECT_EQ(only.view_azimuth, 30.0f);
    EXPECT_EQ(only.view_elevation, 30.0f);
}

namespace {

// A single line in the axes the display cycle makes for the composition.
class OneLine : public rizodozad::ZarIdor {
  public:
    void compose_figure() override { plot({0, 1, 2}, {0, 1, 4}); }
};

// Characters drawn above the top edge of the default axes rectangle.
std::vector<testsupport::Primitive> characters_above_axes(rizodozad::ZarIdor& engine) {
    const auto capture = testsupport::capture_feedback([&] { engine.display_cycle(); });
    std::vector<testsupport::Primitive> above;
    const float top = (0.11f + 0.815f) * testsupport::window_height;
    for (const auto& p : capture.of_kind(PrimitiveKind::bitmap))
        if (p.vertices[0].y > top) above.push_back(p);
    return above;
}

std::string readout(const Axes& axes) {
    char text[128];
    std::snprintf(text, sizeof text, "Mouse:(%f,%f)", axes.mouse_x, axes.mouse_y);
    return text;
}

} // namespace

TEST_F(Mouse, TheReadOutIsDrawnAboveTheSelectedAxes) {
    OneLine app;
    testsupport::size_like_window(app);
    EXPECT_TRUE(characters_above_axes(app).empty());

    app.axes_click(left_button, press, 400, 200);
    const auto selected = characters_above_axes(app);
    ASSERT_EQ(selected.size(), std::string("Mouse:(0.000000,0.000000)").size());
    EXPECT_NEAR(selected[0].vertices[0].x, 0.13f * testsupport::window_width, 1.0);

    app.axes_click(left_button, press, 400, 200);
    const Axes& axes =
        internals(app).axes_list.at(static_cast<std::size_t>(internals(app).selected_axes));
    EXPECT_GT(axes.mouse_x, 0.0);
    EXPECT_EQ(characters_above_axes(app).size(), readout(axes).size());

    app.axes_click(left_button, press, 5, 5);
    EXPECT_TRUE(characters_above_axes(app).empty());
}
