// Contour surfaces: each traced polyline becomes one black strip of width 2.
#include "rizodozad/core/engine.h"
#include "tests/scene_records.h"

namespace {

using testsupport::Capture;
using testsupport::capture_feedback;
using testsupport::PrimitiveKind;

class ContourRenderTest : public testsupport::GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        scene::add_axes(engine);
        internals(engine).axes_list[0].x_lim = {0, 2};
        internals(engine).axes_list[0].y_lim = {0, 2};
        rizodozad::Surface s;
        s.type = 3;
        s.x_data = {{0, 1, 2}};
        s.y_data = {{0, 1, 2}};
        s.contour_levels = {0.5};
        scene::add_surface(engine, s);
    }

    Capture draw() {
        return capture_feedback([this] {
            scene::unit_square_view();
            internals(engine).display_surface();
        });
    }

    rizodozad::Surface& surface() { return internals(engine).surface_list[0]; }
    rizodozad::ZarIdor engine;
};

// Window pixel of a grid point: x 0..2 spans 800 pixels, y 0..2 spans 400.
bool at(const testsupport::FeedbackVertex& v, double x, double y) {
    return scene::near_point(v, static_cast<float>(x * 400), static_cast<float>(y * 200));
}

TEST_F(ContourRenderTest, ClosedLoopIsOneStripBackToItsStart) {
    surface().z_data = {{0, 0, 0}, {0, 1, 0}, {0, 0, 0}};
    const auto lines = draw().of_kind(PrimitiveKind::line);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_TRUE(at(lines[0].vertices[0], 1, 0.5));
    EXPECT_TRUE(at(lines[3].vertices[1], 1, 0.5));
    for (std::size_t k = 0; k + 1 < lines.size(); ++k)
        EXPECT_TRUE(at(lines[k + 1].vertices[0], lines[k].vertices[1].x / 400,
                       lines[k].vertices[1].y / 200));
    for (const auto& line : lines)
        EXPECT_EQ(line.vertices[0].color[0], 0);
    GLfloat width = 0;
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_EQ(width, 2);
    EXPECT_FALSE(glIsEnabled(GL_LINE_STIPPLE));
}

TEST_F(ContourRenderTest, BlocksAreSeparateStripsAndOnePointShowsNothing) {
    // Four blocks of 3 points: 4 x 2 segments, none joining two blocks.
    surface().z_data = {{0, 1, 0}, {1, 0, 1}, {0, 1, 0}};
    const auto lines = draw().of_kind(PrimitiveKind::line);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_TRUE(at(lines[1].vertices[1], 1.5, 0));
    EXPECT_TRUE(at(lines[2].vertices[0], 0, 0.5));
    EXPECT_TRUE(at(lines[7].vertices[1], 0.5, 2));

    // A grid value on the level leaves the one crossing of this cell unpaired.
    surface().z_data = {{0, 1}, {0.5, 0.5}};
    EXPECT_TRUE(draw().of_kind(PrimitiveKind::line).empty());
}

TEST_F(ContourRenderTest, MissingRowsDrawNothing) {
    surface().z_data = {{0, 0, 0}, {0, 1, 0}, {0, 0, 0}};
    surface().y_data.clear();
    EXPECT_TRUE(draw().primitives.empty());
    surface().y_data = {{0, 1, 2}};
    surface().z_data.clear();
    EXPECT_TRUE(draw().primitives.empty());
}

} // namespace

namespace {

// Traced lines are kept between redraws; any change of grid or levels must show at once.
TEST_F(ContourRenderTest, RedrawFollowsEveryChangeOfGridOrLevels) {
    const auto segments = [this] { return draw().of_kind(PrimitiveKind::line); };
    surface().z_data = {{0, 0, 0}, {0, 1, 0}, {0, 0, 0}};
    ASSERT_EQ(segments().size(), 4u);
    ASSERT_EQ(segments().size(), 4u);
    surface().contour_levels = {2};
    EXPECT_TRUE(segments().empty());
    surface().contour_levels = {0.5};
    surface().z_data[1][1] = 0.25;
    EXPECT_TRUE(segments().empty());
    surface().z_data[1][1] = 1;
    surface().x_data = {{0, 0.5, 1}};
    const auto moved = segments();
    ASSERT_EQ(moved.size(), 4u);
    EXPECT_TRUE(at(moved[0].vertices[0], 0.5, 0.5));
}

} // namespace
