// Texts at data positions, and colour bars: frame, ticks, labels, cells.
#include <cmath>
#include <limits>

#include "rizodozad/axes/ticks.h"
#include "rizodozad/core/engine.h"
#include "tests/scene_records.h"

namespace {

using testsupport::Capture;
using testsupport::capture_feedback;
using testsupport::PrimitiveKind;

//-----------------------------------------------------------------------------
// Text
//-----------------------------------------------------------------------------

class TextTest : public testsupport::GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        scene::add_axes(engine);
        rizodozad::Text t;
        t.handle = rizodozad::make_handle(1, rizodozad::kind::text);
        t.text = "hello";
        internals(engine).text_list.push_back(t);
        internals(engine).current_text.select(0);
    }

    // The axes rectangle (0.2, 0.1, 0.6, 0.8) as the unit square, as the 2D axes leave it.
    Capture draw() {
        return capture_feedback([this] {
            glViewport(160, 40, 480, 320);
            glLoadIdentity();
            gluOrtho2D(0, 1, 0, 1);
            internals(engine).display_text();
        });
    }

    rizodozad::ZarIdor engine;
};

TEST_F(TextTest, AtTheLowerLimitsItStartsAtTheAxesCorner) {
    internals(engine).text_list[0].position = {0, 0};
    const auto chars = draw().of_kind(PrimitiveKind::bitmap);
    ASSERT_EQ(chars.size(), 5u);
    EXPECT_TRUE(scene::near_point(chars[0].vertices[0], 160, 40));
    EXPECT_GT(chars[1].vertices[0].x, chars[0].vertices[0].x); // GLUT advances

    internals(engine).text_list[0].position = {5, 10};
    EXPECT_TRUE(scene::near_point(draw().of_kind(PrimitiveKind::bitmap)[0].vertices[0], 400, 360));
    internals(engine).text_list[0].text.clear();
    EXPECT_EQ(draw().count(PrimitiveKind::bitmap), 0u);
}

TEST_F(TextTest, DebugTraceAndEpsExport) {
    engine.debug = 1;
    testing::internal::CaptureStdout();
    draw();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "display: 105 Text\n");

    engine.debug = 0;
    internals(engine).text_list[0].position = {5, 5};
    const std::string eps = scene::eps_page([this] {
        scene::unit_square_view();
        internals(engine).display_text();
    });
    EXPECT_NE(eps.find("(hello)"), std::string::npos);
    EXPECT_NE(eps.find("/Arial"), std::string::npos);
}

//-----------------------------------------------------------------------------
// Colour bars
//-----------------------------------------------------------------------------

class ColorbarTest : public testsupport::GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        scene::add_axes(engine, 2);
        bar().position = {0.8f, 0.1f, 0.05f, 0.8f};
        bar().c_lim = {0, 1};
        bar().c_tick = {0, 0.5, 1};
    }

    rizodozad::Axes& bar() { return internals(engine).axes_list[0]; }
    Capture draw() {
        return capture_feedback([this] { internals(engine).display_colorbar(); });
    }

    rizodozad::ZarIdor engine;
};

TEST_F(ColorbarTest, FrameTicksLabelsThenCells) {
    const Capture c = draw();
    const auto lines = c.of_kind(PrimitiveKind::line);
    ASSERT_EQ(lines.size(), 4u + 3u);
    const float heights[] = {40, 200, 360};
    for (int k = 0; k < 3; ++k) {
        EXPECT_TRUE(scene::near_point(lines[4 + k].vertices[0], 680, heights[k]));
        EXPECT_TRUE(scene::near_point(lines[4 + k].vertices[1], 688, heights[k]));
    }
    // Each label starts at x 0.86 at its tick's height.
    const auto chars = c.of_kind(PrimitiveKind::bitmap);
    int label_starts = 0;
    for (const auto& ch : chars)
        for (float h : heights)
            label_starts += scene::near_point(ch.vertices[0], 688, h);
    EXPECT_EQ(label_starts, 3);

    // 64 cells, two triangles each, from B to B + H, after everything else.
    const auto cells = c.of_kind(PrimitiveKind::polygon);
    ASSERT_EQ(cells.size(), 2u * 64u);
    EXPECT_EQ(c.primitives.size() - cells.size(), lines.size() + chars.size());
    EXPECT_EQ(c.primitives.back().kind, PrimitiveKind::polygon);
    EXPECT_TRUE(scene::near_point(cells.front().vertices[0], 640, 40));
    float low = 1e9f, high = -1e9f;
    for (const auto& v : cells[0].vertices) {
        low = std::min(low, v.y);
        high = std::max(high, v.y);
    }
    EXPECT_NEAR(high - low, 320.0f / 64, scene::tolerance);
    EXPECT_NEAR(cells.back().vertices[2].y, 360, scene::tolerance);
    ASSERT_EQ(bar().colormap.size(), 64u); // filled from the engine's map
    for (int k = 0; k < 3; ++k)
        EXPECT_NEAR(cells.back().vertices[0].color[k], internals(engine).current_colormap[63][k],
                    1e-3);
}

TEST_F(ColorbarTest, WithoutBoxOnlyCellsAndViaTheAxesWithoutChildren) {
    bar().box = 0;
    Capture c = draw();
    EXPECT_EQ(c.count(PrimitiveKind::polygon), c.primitives.size());
    EXPECT_EQ(c.primitives.size(), 128u);

    bar().box = 1;
    bar().colormap.assign(10, {1, 0, 0}); // a bar's own, shorter map limits the cells
    c = capture_feedback([this] { internals(engine).display_axes(); });
    EXPECT_EQ(c.count(PrimitiveKind::polygon), 2u * 10u);
    EXPECT_EQ(c.count(PrimitiveKind::line), 4u + 3u);
}

TEST_F(ColorbarTest, EqualOrStrangeLimitsAndTicksStayFinite) {
    bar().c_lim = {0.5, 0.5};
    Capture c = draw();
    EXPECT_EQ(c.count(PrimitiveKind::line), 4u); // the frame, no ticks
    EXPECT_EQ(c.count(PrimitiveKind::bitmap), 0u);
    EXPECT_EQ(c.count(PrimitiveKind::polygon), 128u);
    for (const auto& p : c.primitives)
        for (const auto& v : p.vertices)
            EXPECT_TRUE(std::isfinite(v.x) && std::isfinite(v.y));

    const double inf = std::numeric_limits<double>::infinity();
    bar().c_lim = {0, 1};
    bar().c_tick = {1e300, -1e300, std::nan(""), inf, 0.5};
    c = draw();
    const auto lines = c.of_kind(PrimitiveKind::line);
    ASSERT_EQ(lines.size(), 4u + 1u); // ticks beyond float range or non-finite are skipped
    EXPECT_TRUE(scene::near_point(lines.back().vertices[0], 680, 200));
    EXPECT_EQ(c.count(PrimitiveKind::bitmap), rizodozad::format_tick_label(0.5).size());
}

} // namespace
