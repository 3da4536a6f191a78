// Surfaces: cell plots in the three grid forms, meshes in the cube, the diagnostic
// line, and data whose sizes disagree.
#include <algorithm>
#include <cmath>

#include "rizodozad/core/engine.h"
#include "tests/scene_records.h"

namespace {

using testsupport::Capture;
using testsupport::capture_feedback;
using testsupport::Primitive;
using testsupport::PrimitiveKind;

const rizodozad::Rgb red{1, 0, 0};
const rizodozad::Rgb blue{0, 0, 1};

class SurfaceTest : public testsupport::GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        scene::add_axes(engine);
        internals(engine).axes_list[0].x_lim = {0, 3};
        internals(engine).axes_list[0].y_lim = {0, 2};
        internals(engine).axes_list[0].z_lim = {0, 1};
    }

    rizodozad::Surface& add(rizodozad::Surface s) {
        scene::add_surface(engine, s);
        return internals(engine).surface_list.back();
    }

    // The surface drawn in the unit square (cell plots) or the flat cube (meshes).
    Capture draw() {
        return capture_feedback([this] {
            if (internals(engine).current_surface->type == 0)
                scene::unit_square_view();
            else
                scene::flat_cube_view();
            internals(engine).display_surface();
        });
    }

    rizodozad::ZarIdor engine;
};

rizodozad::Surface cell_plot(std::size_t rows, std::size_t cols) {
    rizodozad::Surface s;
    s.edge_color = "r";
    s.face_color = "b";
    s.z_data.assign(rows, std::vector<double>(cols, 0.5));
    return s;
}

bool all_before(const Capture& c, PrimitiveKind first, PrimitiveKind second) {
    bool second_seen = false;
    for (const auto& p : c.primitives) {
        if (p.kind == second) second_seen = true;
        if (p.kind == first && second_seen) return false;
    }
    return true;
}

void expect_colour(const Primitive& p, const rizodozad::Rgb& c) {
    for (int k = 0; k < 3; ++k)
        EXPECT_NEAR(p.vertices[0].color[k], c[k], 1e-3);
}

TEST_F(SurfaceTest, IndexGridDrawsRowStripsThenCellsSpanningTheLimits) {
    add(cell_plot(3, 4)).line_width = 3;
    testing::internal::CaptureStdout();
    const Capture c = draw();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "display_surface_2d ..\\rizodozad\\rizodozad:2345\n");

    const auto lines = c.of_kind(PrimitiveKind::line);
    const auto cells = c.of_kind(PrimitiveKind::polygon);
    ASSERT_EQ(lines.size(), 3u * 3u); // 3 strips of 4 points
    ASSERT_EQ(cells.size(), 6u * 2u); // 6 quads, two triangles each
    EXPECT_TRUE(all_before(c, PrimitiveKind::line, PrimitiveKind::polygon));
    for (std::size_t k = 0; k < lines.size(); ++k) {
        EXPECT_NEAR(lines[k].vertices[0].y, 200.0f * (k / 3), scene::tolerance);
        expect_colour(lines[k], red);
    }
    EXPECT_TRUE(scene::near_point(cells.front().vertices[0], 0, 0));
    float top = 0, right = 0;
    for (const auto& cell : cells) {
        expect_colour(cell, blue);
        for (const auto& v : cell.vertices) {
            top = std::max(top, v.y);
            right = std::max(right, v.x);
        }
    }
    EXPECT_NEAR(right, 800, scene::tolerance);
    EXPECT_NEAR(top, 400, scene::tolerance);
    GLfloat width = 0;
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_EQ(width, 3);
}

TEST_F(SurfaceTest, FlatCellsTakeTheirOwnColoursAndNoneDrawsNothing) {
    auto& s = add(cell_plot(2, 3));
    s.face_color = "flat";
    s.c_data = {{red, blue}};
    const auto cells = draw().of_kind(PrimitiveKind::polygon);
    ASSERT_EQ(cells.size(), 4u);
    expect_colour(cells[0], red);
    expect_colour(cells[1], red);
    expect_colour(cells[2], blue);
    expect_colour(cells[3], blue);

    internals(engine).surface_list[0].face_color = "none";
    internals(engine).surface_list[0].edge_color = "none";
    testing::internal::CaptureStdout();
    EXPECT_TRUE(draw().primitives.empty());
    EXPECT_FALSE(testing::internal::GetCapturedStdout().empty()); // the diagnostic even so
}

TEST_F(SurfaceTest, TraceAndDiagnosticFollowTheDebugFlag) {
    engine.debug = 1;
    internals(engine).mode = rizodozad::display_mode::display;
    add(cell_plot(7, 2)).handle = 4;
    testing::internal::CaptureStdout();
    draw();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "mode: 2 handle:    4 Surface type 0, Z.size 7\n"
              "display_surface_2d ..\\rizodozad\\rizodozad:2345\n");
}

TEST_F(SurfaceTest, VectorAndMatrixGridsIgnoreTheValues) {
    auto& vec = add(cell_plot(0, 0));
    vec.x_data = {{0, 1, 3}};
    vec.y_data = {{0, 2}};
    Capture c = draw();
    EXPECT_EQ(c.count(PrimitiveKind::line), 2u + 3u); // nx + ny two-point strips
    EXPECT_EQ(c.count(PrimitiveKind::polygon), 2u * 2u);
    EXPECT_TRUE(scene::near_point(c.of_kind(PrimitiveKind::line)[0].vertices[1], 800, 0));

    auto& mat = internals(engine).surface_list[0];
    mat.x_data = {{0, 0.5, 1, 2, 3}, {0, 0.5, 1, 2, 3}};
    mat.y_data = {{0, 0, 0, 0, 0}, {2, 2, 2, 2, 2}};
    c = draw();
    EXPECT_EQ(c.count(PrimitiveKind::line), 2u * 4u + 5u * 1u);
    EXPECT_EQ(c.count(PrimitiveKind::polygon), 4u * 2u);
    EXPECT_TRUE(all_before(c, PrimitiveKind::line, PrimitiveKind::polygon));
}

TEST_F(SurfaceTest, OneRowIndexGridSitsAtTheLowerLimit) {
    add(cell_plot(1, 3));
    testing::internal::CaptureStdout();
    const auto lines = draw().of_kind(PrimitiveKind::line);
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(lines.size(), 2u);
    for (const auto& line : lines)
        for (const auto& v : line.vertices)
            EXPECT_NEAR(v.y, 0, scene::tolerance);
}

TEST_F(SurfaceTest, SizesThatDisagreeDrawOnlyWhatTheDataCovers) {
    testing::internal::CaptureStdout();
    auto& s = add(cell_plot(3, 3));
    s.face_color = "flat";
    s.c_data = {{red}}; // one colour for four cells
    EXPECT_EQ(draw().count(PrimitiveKind::polygon), 2u);

    s.x_data = {{0, 1, 2}, {0, 1}}; // second row short
    s.y_data = {{0, 0, 0}, {1, 1, 1}};
    s.c_data = {{red, red}};
    Capture c = draw();
    EXPECT_EQ(c.count(PrimitiveKind::line), 2u + 1u + 2u); // rows 3+2 points, columns 2+2+1
    EXPECT_EQ(c.count(PrimitiveKind::polygon), 2u);

    s.x_data = {{0, 1, 2}, {0, 1, 2}};
    s.y_data = {{0}, {1}}; // y rows shorter than x rows
    c = draw();
    EXPECT_EQ(c.count(PrimitiveKind::line), 1u);
    EXPECT_EQ(c.count(PrimitiveKind::polygon), 0u);

    s.x_data = {{0, 1, 2}};
    s.y_data = {};
    EXPECT_TRUE(draw().primitives.empty());
    testing::internal::GetCapturedStdout();
}

//-----------------------------------------------------------------------------
// Meshes
//-----------------------------------------------------------------------------

TEST_F(SurfaceTest, MeshDrawsTrianglesThenStripsInsideTheCube) {
    auto& s = add(cell_plot(3, 4));
    s.type = 1;
    s.x_data = {{0, 1, 2, 3}};
    s.y_data = {{0, 1, 2}};
    s.z_data = {{0, 0.2, 0.4, 0.6}, {0.1, 0.3, 0.5, 0.7}, {0.2, 0.4, 0.6, 1}};
    s.face_color = "flat";
    s.c_data.assign(2, {red, blue, red});
    const Capture c = draw();
    const auto triangles = c.of_kind(PrimitiveKind::polygon);
    ASSERT_EQ(triangles.size(), 12u);
    EXPECT_EQ(c.count(PrimitiveKind::line), 3u * 3u + 4u * 2u);
    EXPECT_TRUE(all_before(c, PrimitiveKind::polygon, PrimitiveKind::line));
    expect_colour(triangles[2], blue);
    expect_colour(triangles[3], blue);
    const auto& first = triangles.front().vertices[0];
    EXPECT_TRUE(scene::near_point(first, 0, 0));
    EXPECT_NEAR(first.z, 1, 1e-3);
    const auto& last = triangles.back().vertices[2];
    EXPECT_TRUE(scene::near_point(last, 800, 400));
    EXPECT_NEAR(last.z, 0, 1e-3);

    s.type = 2; // drawn alike
    EXPECT_EQ(draw().count(PrimitiveKind::polygon), 12u);
    s.x_data.clear();
    EXPECT_TRUE(draw().primitives.empty());
}

TEST_F(SurfaceTest, MeshWithShortRowsDrawsOnlyCompleteCells) {
    auto& s = add(cell_plot(2, 3));
    s.type = 1;
    s.x_data = {{0, 1, 2}, {0, 1}};
    s.y_data = {{0, 0, 0}, {1, 1, 1}};
    s.z_data = {{0, 0, 0}, {1, 1}};
    const Capture c = draw();
    EXPECT_EQ(c.count(PrimitiveKind::polygon), 2u);
    EXPECT_EQ(c.count(PrimitiveKind::line), 2u + 1u + 2u);
    for (const auto& p : c.primitives)
        for (const auto& v : p.vertices)
            EXPECT_TRUE(std::isfinite(v.x) && std::isfinite(v.y));
}

} // namespace
