// The line renderer: polylines in each style, every marker, error bars, short
// sequences, and what reaches an EPS export.
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "rizodozad/core/engine.h"
#include "tests/support/feedback.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/memory_eps.h"
#include "tests/support/segments.h"

namespace {

using rizodozad::Axes;
using rizodozad::Line;
using testsupport::Capture;
using testsupport::PrimitiveKind;

constexpr float tolerance = 0.05f; // pixels
constexpr float centre_x = 400;    // pixel of the point (5, 5) in limits (0, 10)
constexpr float centre_y = 200;
constexpr float marker_half_px = 6; // size 6 in 800x400: hx = 6/800 of 800 px, hy = 6/400 of 400 px
constexpr GLushort unrelated_pattern = 0x1111;
constexpr double pi = 3.141592653589793;

using testsupport::expect_segments;
using testsupport::Segment;
using testsupport::segments_of;

// Marker outlines in pixels around the centre, from corner offsets in units of the half extent.
using Offsets = std::vector<std::pair<float, float>>;

Segment offset_segment(std::pair<float, float> a, std::pair<float, float> b) {
    return {centre_x + a.first * marker_half_px, centre_y + a.second * marker_half_px,
            centre_x + b.first * marker_half_px, centre_y + b.second * marker_half_px};
}

std::vector<Segment> closed(const Offsets& corners) {
    std::vector<Segment> result;
    for (std::size_t i = 0; i < corners.size(); ++i)
        result.push_back(offset_segment(corners[i], corners[(i + 1) % corners.size()]));
    return result;
}

std::vector<Segment> operator+(std::vector<Segment> a, const std::vector<Segment>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

GLint stipple_pattern() {
    GLint pattern = 0;
    glGetIntegerv(GL_LINE_STIPPLE_PATTERN, &pattern);
    return pattern;
}

float gl_float(GLenum name) {
    GLfloat value = 0;
    glGetFloatv(name, &value);
    return value;
}

class LineRender : public testsupport::GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        testsupport::size_like_window(engine);
        internals(engine).axes_list.push_back(Axes{});
        internals(engine).current_axes.select(0);
        internals(engine).line_list.push_back(Line{});
        internals(engine).current_line.select(0);
        line().x_data = {5};
        line().y_data = {5};
        // The axes' unit square on the whole window, as the axes decoration would leave it.
        glViewport(0, 0, testsupport::window_width, testsupport::window_height);
        glLoadIdentity();
        gluOrtho2D(0, 1, 0, 1);
    }

    Line& line() { return internals(engine).line_list[0]; }
    Axes& axes() { return internals(engine).axes_list[0]; }
    Capture draw() {
        return testsupport::capture_feedback([this] { internals(engine).display_line(); });
    }

    rizodozad::ZarIdor engine;
};

//-----------------------------------------------------------------------------
// Polyline and style state
//-----------------------------------------------------------------------------

TEST_F(LineRender, PolylineFollowsTheDataInTheLinesColour) {
    line().color = "r";
    line().x_data = {1, 5, 9};
    line().y_data = {2, 8, 4};
    const Capture capture = draw();
    expect_segments(segments_of(capture), {{80, 80, 400, 320}, {400, 320, 720, 160}}, "polyline");

    const rizodozad::Rgb rgb = rizodozad::color_to_rgb("r");
    const auto colour = capture.of_kind(PrimitiveKind::line)[0].vertices[0].color;
    EXPECT_FLOAT_EQ(colour[0], rgb[0]);
    EXPECT_FLOAT_EQ(colour[1], rgb[1]);
    EXPECT_FLOAT_EQ(colour[2], rgb[2]);

    // Logarithmic x: 10 is the middle decade of (1, 100).
    axes().x_scale = 1;
    axes().x_lim = {1, 100};
    line().x_data = {1, 10};
    line().y_data = {0, 0};
    expect_segments(segments_of(draw()), {{0, 0, 400, 0}}, "log x");
}

TEST_F(LineRender, WidthAndPointSizeFollowTheLine) {
    line().line_width = 2.5f;
    draw();
    EXPECT_FLOAT_EQ(gl_float(GL_LINE_WIDTH), 2.5f);
    EXPECT_FLOAT_EQ(gl_float(GL_POINT_SIZE), 2.5f);
}

TEST_F(LineRender, LineStylesSetTheStippleOrLeaveItAlone) {
    struct Case {
        std::string style;
        bool enabled;
        GLint pattern;
        bool polyline;
    };
    const Case cases[] = {
        {"-", false, unrelated_pattern, true},
        {"- -", true, 0xF0F0, true},
        {":", true, 0xCCCC, true},
        {"-.", true, 0x087F, true},
        {"none", true, unrelated_pattern, false},
        {"--", true, unrelated_pattern, true},
    };
    line().x_data = {1, 9};
    line().y_data = {5, 5};
    for (const Case& c : cases) {
        glEnable(GL_LINE_STIPPLE);
        glLineStipple(1, unrelated_pattern);
        line().line_style = c.style;
        const Capture capture = draw();
        EXPECT_EQ(glIsEnabled(GL_LINE_STIPPLE) == GL_TRUE, c.enabled) << c.style;
        EXPECT_EQ(stipple_pattern(), c.pattern) << c.style;
        EXPECT_EQ(capture.count(PrimitiveKind::line), c.polyline ? 1u : 0u) << c.style;
    }

    // Two hyphens after a solid decoration stay solid.
    glDisable(GL_LINE_STIPPLE);
    line().line_style = "--";
    draw();
    EXPECT_FALSE(glIsEnabled(GL_LINE_STIPPLE));
}

TEST_F(LineRender, MarkersDrawUnstippledAfterAStippledPolyline) {
    line().line_style = "- -";
    line().marker = "+";
    draw();
    EXPECT_FALSE(glIsEnabled(GL_LINE_STIPPLE));
    EXPECT_EQ(stipple_pattern(), 0xF0F0);

    line().marker = "none";
    draw();
    EXPECT_TRUE(glIsEnabled(GL_LINE_STIPPLE)); // nothing is restored after the polyline
}

TEST_F(LineRender, OnePointDrawsNoSegmentButItsMarker) {
    EXPECT_EQ(draw().primitives.size(), 0u);

    line().marker = "o";
    EXPECT_EQ(draw().count(PrimitiveKind::line), 20u);

    line().line_style = "none";
    line().marker = "none";
    EXPECT_EQ(draw().primitives.size(), 0u);
}

//-----------------------------------------------------------------------------
// Markers
//-----------------------------------------------------------------------------

TEST_F(LineRender, EveryTwoDimensionalMarkerHasItsOutline) {
    const auto plus =
        std::vector<Segment>{offset_segment({-1, 0}, {1, 0}), offset_segment({0, -1}, {0, 1})};
    const auto cross =
        std::vector<Segment>{offset_segment({-1, -1}, {1, 1}), offset_segment({1, -1}, {-1, 1})};
    Offsets ellipse;
    for (int k = 0; k < 20; ++k) {
        const double a = k * 2 * pi / 20;
        ellipse.push_back({static_cast<float>(std::cos(a)), static_cast<float>(std::sin(a))});
    }
    const std::pair<std::string, std::vector<Segment>> cases[] = {
        {"+", plus},
        {"x", cross},
        {"*", plus + cross},
        {"d", closed({{0, 1}, {1, 0}, {0, -1}, {-1, 0}})},
        {"^", closed({{0, 1}, {1, -1}, {-1, -1}})},
        {"v", closed({{0, -1}, {1, 1}, {-1, 1}})},
        {"s", closed({{-1, -1}, {-1, 1}, {1, 1}, {1, -1}})},
        {"o", closed(ellipse)},
        {"|", {offset_segment({0, -2}, {0, 2})}},
        {">", {}},
        {"<", {}},
        {"p", {}},
        {"h", {}},
        {"unknown", {}},
    };
    line().line_style = "none";
    for (const auto& [marker, expected] : cases) {
        line().marker = marker;
        const Capture capture = draw();
        expect_segments(segments_of(capture), expected, marker);
        EXPECT_EQ(capture.primitives.size(), expected.size()) << marker;
    }
}

TEST_F(LineRender, PointMarkerIsOnePointOfTheLineWidth) {
    line().line_style = "none";
    line().marker = ".";
    line().line_width = 0.5f;
    line().marker_size = 40; // no effect on points
    const auto points = draw().of_kind(PrimitiveKind::point);
    ASSERT_EQ(points.size(), 1u);
    EXPECT_NEAR(points[0].vertices[0].x, centre_x, tolerance);
    EXPECT_NEAR(points[0].vertices[0].y, centre_y, tolerance);
    EXPECT_FLOAT_EQ(gl_float(GL_POINT_SIZE), 0.5f);
}

//-----------------------------------------------------------------------------
// Error bars
//-----------------------------------------------------------------------------

TEST_F(LineRender, ErrorBarSpansTheErrorsWithCapsAndCentreTick) {
    line().line_style = "none";
    line().error_bar = 1;
    line().error_upper = {2};
    line().error_lower = {1};
    const float h = marker_half_px;
    expect_segments(segments_of(draw()),
                    {{400, 280, 400, 160},
                     {400 - h, 200, 400 + h, 200},
                     {400 - h, 280, 400 + h, 280},
                     {400 - h, 160, 400 + h, 160}},
                    "error bar");
}

//-----------------------------------------------------------------------------
// Sequences shorter than x_data
//-----------------------------------------------------------------------------

TEST_F(LineRender, ShortSequencesLimitThePointsDrawn) {
    line().x_data = {1, 3, 5, 7};
    line().y_data = {5, 5};
    line().marker = "+";
    // One polyline segment and the two plus markers of the points y covers.
    const auto segments = segments_of(draw());
    ASSERT_EQ(segments.size(), 5u);
    for (const Segment& s : segments)
        EXPECT_LE(std::max(s.x0, s.x1), 240 + 6 + tolerance);

    line().y_data.clear();
    EXPECT_EQ(draw().primitives.size(), 0u);

    // Error bars need both error sequences: only the first point has an upper error.
    line().y_data = {5, 5, 5, 5};
    line().line_style = "none";
    line().marker = "none";
    line().error_bar = 1;
    line().error_upper = {1};
    line().error_lower = {1, 1, 1, 1};
    EXPECT_EQ(draw().count(PrimitiveKind::line), 4u);
}

//-----------------------------------------------------------------------------
// Three-dimensional axes
//-----------------------------------------------------------------------------

class LineRender3d : public LineRender {
  protected:
    void SetUp() override {
        LineRender::SetUp();
        axes().type = 1;
        // The cube's front face on the whole window: (X, Y) lands on pixel (400 (X + 1), 200 (Y +
        // 1)).
        glLoadIdentity();
        glOrtho(-1, 1, -1, 1, -1, 1);
        line().z_data = {5};
    }
};

TEST_F(LineRender3d, LinesMadeWithoutZDrawNothing) {
    line().x_data = {1, 2, 3};
    line().y_data = {1, 2, 3};
    line().z_data.clear();
    line().marker = "+";
    EXPECT_EQ(draw().primitives.size(), 0u);

    line().z_data = {5, 5}; // covers two of the three points
    line().marker = "none";
    EXPECT_EQ(draw().count(PrimitiveKind::line), 1u);
}

TEST_F(LineRender3d, OnlyPointAndPlusMarkersAndNoErrorBars) {
    line().line_style = "none";
    line().error_bar = 1;
    line().error_upper = {1};
    line().error_lower = {1};
    axes().x_scale = 1; // ignored in three dimensions

    line().marker = "+";
    const float h = 3; // 0.0075 and 0.015 of a cube spanning 800 by 400 pixels
    expect_segments(segments_of(draw()),
                    {{400 - h, 200, 400 + h, 200}, {400, 200 - h, 400, 200 + h}}, "plus");

    line().marker = ".";
    const auto points = draw().of_kind(PrimitiveKind::point);
    ASSERT_EQ(points.size(), 1u);
    EXPECT_NEAR(points[0].vertices[0].x, 400, tolerance);

    for (const char* marker : {"o", "s", "x", "*", "d"}) {
        line().marker = marker;
        EXPECT_EQ(draw().primitives.size(), 0u) << marker;
    }
}

TEST_F(LineRender, OtherAxesTypesDrawNoLine) {
    axes().type = 2;
    line().x_data = {1, 9};
    line().y_data = {1, 9};
    line().marker = "+";
    EXPECT_EQ(draw().primitives.size(), 0u);
}

//-----------------------------------------------------------------------------
// EPS export
//-----------------------------------------------------------------------------

TEST_F(LineRender, ExportCarriesDashesAndWidthsLineByLine) {
    // A dashed line at y = 5 (200 px), then a solid one at y = 2 (80 px) on the same page.
    line().x_data = {1, 9};
    line().y_data = {5, 5};
    line().line_style = "- -";
    line().line_width = 2;
    Line solid;
    solid.x_data = {1, 9};
    solid.y_data = {2, 2};
    solid.line_width = 3;
    internals(engine).line_list.push_back(solid);

    const std::string eps = testsupport::export_eps_in_memory([this] {
        internals(engine).current_line.select(0);
        internals(engine).display_line();
        internals(engine).current_line.select(1);
        internals(engine).display_line();
    });
    const auto at = [&eps](const char* text) { return eps.find(text); };
    ASSERT_NE(at("80 200 LS"), std::string::npos) << eps;
    ASSERT_NE(at("80 80 LS"), std::string::npos) << eps;
    EXPECT_LT(at("2 W"), at("80 200 LS")) << eps;
    EXPECT_LT(at("[0 4 4 4 4 0] 0 setdash"), at("80 200 LS")) << eps;
    // The solid line ends the dashes and has its own width.
    EXPECT_GT(at("[] 0 setdash"), at("80 200 LS")) << eps;
    EXPECT_LT(at("[] 0 setdash"), at("80 80 LS")) << eps;
    EXPECT_GT(at("3 W"), at("80 200 LS")) << eps;
    EXPECT_LT(at("3 W"), at("80 80 LS")) << eps;
}

TEST_F(LineRender, NoExportOutputOutsideAPage) {
    line().x_data = {1, 9};
    line().y_data = {5, 5};
    line().line_style = "- -";
    EXPECT_EQ(draw().count(PrimitiveKind::pass_through), 0u);
}

} // namespace
