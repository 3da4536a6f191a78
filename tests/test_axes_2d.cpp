// Two-dimensional axes: the dispatch to children, frame, read-out, grid, ticks,
// tick labels, title and axis labels, and what reaches an EPS export.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "rizodozad/axes/ticks.h"
#include "rizodozad/core/engine.h"
#include "tests/support/feedback.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/memory_eps.h"
#include "tests/support/segments.h"

namespace {

using rizodozad::Axes;
using rizodozad::make_handle;
using rizodozad::kind::line;
using testsupport::Capture;
using testsupport::Primitive;
using testsupport::PrimitiveKind;

constexpr float tolerance = 0.05f; // pixels

// The default rectangle (0.13, 0.11, 0.775, 0.815) in the 800x400 window, in pixels.
constexpr float left_px = 104;
constexpr float bottom_px = 44;
constexpr float right_px = 724;
constexpr float top_px = 370;
constexpr float text_above_px = 374; // 0.01 above the top

// GL_LINES segments keep their order, loops their direction.
using testsupport::expect_segment;

void expect_at(const Primitive& bitmap, float x, float y, const std::string& what) {
    EXPECT_NEAR(bitmap.vertices[0].x, x, tolerance) << what;
    EXPECT_NEAR(bitmap.vertices[0].y, y, tolerance) << what;
}

GLint gl_integer(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

class Axes2d : public testsupport::GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        testsupport::size_like_window(engine);
        Axes record;
        record.handle = make_handle(0, rizodozad::kind::axes);
        record.children.push_back(make_handle(0, line));
        internals(engine).axes_list.push_back(record);
        rizodozad::Line empty_line;
        empty_line.handle = make_handle(0, line);
        internals(engine).line_list.push_back(empty_line);
        internals(engine).current_axes.select(0);
    }

    Axes& axes() { return internals(engine).axes_list[0]; }
    Capture draw() {
        return testsupport::capture_feedback([this] { internals(engine).display_axes(); });
    }
    // The decoration alone, so that the state it leaves can be queried.
    Capture draw_decoration() {
        return testsupport::capture_feedback([this] { internals(engine).display_axes_2d(); });
    }
    std::vector<Primitive> lines(const Capture& c) { return c.of_kind(PrimitiveKind::line); }
    std::vector<Primitive> bitmaps(const Capture& c) { return c.of_kind(PrimitiveKind::bitmap); }

    rizodozad::ZarIdor engine;
};

//-----------------------------------------------------------------------------
// Dispatch
//-----------------------------------------------------------------------------

TEST_F(Axes2d, AxesWithoutChildrenDrawNothing) {
    axes().children.clear();
    axes().title = "Title";
    axes().x_tick = {0, 5, 10};
    axes().selected = 1;
    EXPECT_EQ(draw().primitives.size(), 0u);
}

TEST_F(Axes2d, ChildrenDrawInTheUnitSquareAndBadHandlesAreSkipped) {
    rizodozad::Line& child = internals(engine).line_list[0];
    child.x_data = {5};
    child.y_data = {5};
    child.line_style = "none";
    child.marker = "|";
    axes().children = {make_handle(7, line), make_handle(0, 9), -3,
                       make_handle(0, rizodozad::kind::text), make_handle(0, line)};
    axes().box = 0;

    const auto drawn = lines(draw());
    ASSERT_EQ(drawn.size(), 1u);
    // (5, 5) is the centre of the rectangle; the bar reaches 2 * 6 / 400 of its height.
    const float centre_x = (left_px + right_px) / 2;
    const float centre_y = (bottom_px + top_px) / 2;
    const float reach = 2 * 6.0f / 400 * (top_px - bottom_px);
    expect_segment(drawn[0], {centre_x, centre_y - reach, centre_x, centre_y + reach}, "child");

    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 104);
    EXPECT_EQ(viewport[1], 44);
    EXPECT_EQ(viewport[2], 620);
    EXPECT_EQ(viewport[3], 326);
}

TEST_F(Axes2d, DebugTracesNameTheAxesAndItsPatches) {
    engine.debug = 1;
    internals(engine).mode = rizodozad::display_mode::display;
    rizodozad::Patch patch;
    patch.handle = make_handle(0, rizodozad::kind::patch);
    patch.faces = {{0, 1, 2}, {1, 2, 3}};
    internals(engine).patch_list.push_back(patch);
    axes().children.push_back(patch.handle);

    testing::internal::CaptureStdout();
    draw();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("mode: 2 handle:    2 Axes  #Children 2\n"), std::string::npos) << out;
    EXPECT_NE(out.find("display:   7 Patch :type 0, Faces.size 2\n"), std::string::npos) << out;
}

//-----------------------------------------------------------------------------
// Frame, read-out, ticks
//-----------------------------------------------------------------------------

TEST_F(Axes2d, FrameIsABlackLoopRoundTheRectangle) {
    axes().line_width = 1.5f;
    const auto drawn = lines(draw_decoration());
    ASSERT_EQ(drawn.size(), 4u);
    expect_segment(drawn[0], {left_px, bottom_px, right_px, bottom_px}, "bottom");
    expect_segment(drawn[1], {right_px, bottom_px, right_px, top_px}, "right");
    expect_segment(drawn[2], {right_px, top_px, left_px, top_px}, "top");
    expect_segment(drawn[3], {left_px, top_px, left_px, bottom_px}, "left");
    for (const auto& segment : drawn) {
        EXPECT_FLOAT_EQ(segment.vertices[0].color[0], 0);
        EXPECT_FLOAT_EQ(segment.vertices[0].color[1], 0);
        EXPECT_FLOAT_EQ(segment.vertices[0].color[2], 0);
    }
    GLfloat width = 0;
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_FLOAT_EQ(width, 1.5f);
    EXPECT_FALSE(glIsEnabled(GL_LINE_STIPPLE));

    axes().box = 0;
    axes().x_tick = {5};
    EXPECT_EQ(draw().primitives.size(), 0u);
}

TEST_F(Axes2d, SelectedAxesDoublesItsFrameAndShowsTheReadOut) {
    axes().line_width = 1.5f;
    axes().selected = 1;
    const auto text = bitmaps(draw_decoration());
    ASSERT_EQ(text.size(), std::string("Mouse:(0.000000,0.000000)").size());
    expect_at(text[0], left_px, text_above_px, "read-out");
    GLfloat width = 0;
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_FLOAT_EQ(width, 3);

    // With an x grid the ticks go back to the single width.
    axes().x_grid = 1;
    draw_decoration();
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_FLOAT_EQ(width, 1.5f);
}

TEST_F(Axes2d, ReadOutOfHugeValuesIsWrittenWhole) {
    axes().selected = 1;
    axes().mouse_x = 1e300;
    axes().mouse_y = -1e300;
    const std::string expected =
        "Mouse:(" + std::to_string(1e300) + "," + std::to_string(-1e300) + ")";
    ASSERT_GT(expected.size(), 600u);
    EXPECT_EQ(bitmaps(draw()).size(), expected.size());
}

TEST_F(Axes2d, TicksPointInOrOut) {
    axes().x_tick = {0, 5, 10};
    axes().y_tick = {0, 10};
    // Tick length 0.01 of the window: 8 pixels across, 4 up.
    for (const std::string dir : {"in", "out", "sideways"}) {
        axes().tick_dir = dir;
        const float d = dir == "out" ? -1 : 1;
        const auto drawn = lines(draw());
        ASSERT_EQ(drawn.size(), 4u + 3u + 2u) << dir;
        const float xs[] = {left_px, 414, right_px};
        for (int i = 0; i < 3; ++i)
            expect_segment(drawn[4 + i], {xs[i], bottom_px, xs[i], bottom_px + 4 * d}, dir);
        const float ys[] = {bottom_px, top_px};
        for (int i = 0; i < 2; ++i)
            expect_segment(drawn[7 + i], {left_px, ys[i], left_px + 8 * d, ys[i]}, dir);
    }
}

//-----------------------------------------------------------------------------
// Grid
//-----------------------------------------------------------------------------

TEST_F(Axes2d, GridLinesCrossTheRectangleAtTheTicks) {
    axes().x_grid = 1;
    axes().y_grid = 1;
    axes().x_tick = {0, 5};
    axes().y_tick = {5};
    const auto drawn = lines(draw());
    ASSERT_EQ(drawn.size(), 4u + 3u + 3u);
    expect_segment(drawn[4], {left_px, bottom_px, left_px, top_px}, "x grid 0");
    expect_segment(drawn[5], {414, bottom_px, 414, top_px}, "x grid 5");
    expect_segment(drawn[6], {left_px, 207, right_px, 207}, "y grid 5");
}

TEST_F(Axes2d, GridStylesSetTheirPatternAndTicksEndUnstippled) {
    const std::pair<std::string, GLint> cases[] = {
        {"- -", 0xF0F0}, {":", 0xCCCC}, {"-.", 0x087F}, {"--", 0xCCCC}, {"-", 0xFFFF}};
    axes().y_grid = 1;
    axes().y_tick = {5};
    for (const auto& [style, pattern] : cases) {
        testsupport::reset_gl_state();
        axes().grid_line_style = style;
        draw_decoration();
        EXPECT_EQ(gl_integer(GL_LINE_STIPPLE_PATTERN), pattern) << style;
        EXPECT_FALSE(glIsEnabled(GL_LINE_STIPPLE)) << style;
    }
}

//-----------------------------------------------------------------------------
// Texts
//-----------------------------------------------------------------------------

TEST_F(Axes2d, TickLabelsHangBelowAndLeftOfTheirTicks) {
    axes().x_tick = {0, 10};
    axes().y_tick = {5};
    std::vector<std::size_t> lengths;
    for (const double t : {0.0, 10.0, 5.0})
        lengths.push_back(rizodozad::format_tick_label(t).size());
    if (lengths[0] == 0 || lengths[1] == 0 || lengths[2] == 0)
        GTEST_SKIP() << "tick labels are empty: their positions cannot be seen";

    // x labels start 12 px left of the tick, at 0.11 - 0.01 - 12/400 of the height (28 px);
    // y labels start 24 + 8 px left of the frame and 6 px below the tick.
    const auto text = bitmaps(draw());
    ASSERT_EQ(text.size(), lengths[0] + lengths[1] + lengths[2]);
    expect_at(text[0], left_px - 12, 28, "x label at 0");
    expect_at(text[lengths[0]], right_px - 12, 28, "x label at 10");
    expect_at(text[lengths[0] + lengths[1]], left_px - 32, 207 - 6, "y label at 5");

    axes().show_tick_labels = 0;
    EXPECT_EQ(bitmaps(draw()).size(), 0u);
}

TEST_F(Axes2d, TitleAndAxisLabelsArePlacedAroundTheRectangle) {
    axes().title = "abcdefghij";
    axes().x_label = "xy";
    axes().y_label = "Y";
    axes().box = 0; // texts stay
    const auto text = bitmaps(draw());
    ASSERT_EQ(text.size(), 10u + 2u + 1u);
    // The centre is at 414 px; ten 6-pixel characters start 30 px (0.0375 of 800) left of it.
    expect_at(text[0], 414 - 30, text_above_px, "title");
    expect_at(text[10], 414 - 6, 16, "x label");
    expect_at(text[12], left_px, text_above_px, "y label");
}

//-----------------------------------------------------------------------------
// EPS export
//-----------------------------------------------------------------------------

TEST_F(Axes2d, ExportKeepsTheSingleWidthTheReadOutAndTheGridDashes) {
    axes().line_width = 2;
    axes().selected = 1;
    axes().x_grid = 1;
    axes().x_tick = {5};
    axes().grid_line_style = "- -";
    const std::string eps =
        testsupport::export_eps_in_memory([this] { internals(engine).display_axes(); });
    EXPECT_NE(eps.find("2 W"), std::string::npos) << eps;
    EXPECT_EQ(eps.find("4 W"), std::string::npos) << eps;
    EXPECT_NE(eps.find("0.000000,0.000000"), std::string::npos) << eps;
    EXPECT_NE(eps.find("[0 4 4 4 4 0] 0 setdash"), std::string::npos) << eps;
}

} // namespace
