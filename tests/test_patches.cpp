// Patches: indexed triangles, outlines before fills, colours per polygon, the
// outline width in an EPS page, and data whose sizes disagree.
#include <cmath>

#include "rizodozad/core/engine.h"
#include "tests/scene_records.h"

namespace {

using testsupport::Capture;
using testsupport::capture_feedback;
using testsupport::PrimitiveKind;

class PatchTest : public testsupport::GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        scene::add_axes(engine);
        internals(engine).axes_list[0].z_lim = {0, 10};
        rizodozad::Patch p;
        p.handle = rizodozad::make_handle(0, rizodozad::kind::patch);
        p.faces = {{0, 1, 2}, {1, 3, 2, 0}};
        p.vertices = {{0, 0}, {10, 0}, {0, 10}, {10, 10}};
        p.x_data = {{1, 2, 2}, {3, 4, 4, 3}, {5, 6, 6}};
        p.y_data = {{1, 1, 2}, {3, 3, 4, 4}, {5, 5, 6}};
        p.z_data = {{0, 0, 0}, {5, 5, 5, 5}, {10, 10, 10}};
        p.edge_color = "r";
        p.face_color = "b";
        internals(engine).patch_list.push_back(p);
        internals(engine).axes_list[0].children.push_back(p.handle);
        internals(engine).current_patch.select(0);
    }

    rizodozad::Patch& patch() { return internals(engine).patch_list[0]; }

    Capture draw() {
        return capture_feedback([this] {
            glColor3f(0, 1, 0); // the colour the indexed triangles inherit
            if (patch().type == 0) {
                scene::unit_square_view();
                internals(engine).display_patch();
            } else {
                scene::flat_cube_view();
                internals(engine).display_patch_3d();
            }
        });
    }

    rizodozad::ZarIdor engine;
};

// Colour of the first vertex as r, g or b.
char colour_of(const testsupport::Primitive& p) {
    const auto& c = p.vertices[0].color;
    return c[0] > 0.5f ? 'r' : c[1] > 0.5f ? 'g' : c[2] > 0.5f ? 'b' : '?';
}

// The run of primitive kinds and colours, e.g. "Pg" for a green polygon, "Lr" a red line.
std::string sequence(const Capture& c) {
    std::string s;
    char last = 0;
    for (const auto& p : c.primitives) {
        const char kind = p.kind == PrimitiveKind::line ? 'L' : 'P';
        const char code[3] = {kind, colour_of(p), 0};
        if (kind == 'P' || kind != last) s += code; // a loop's segments count once
        last = kind;
    }
    return s;
}

TEST_F(PatchTest, TrianglesThenEachOutlineBeforeItsFill) {
    const Capture c = draw();
    // Two green triangles, then per polygon a red loop and its blue fill (triangulated).
    EXPECT_EQ(c.count(PrimitiveKind::line), 3u + 4u + 3u);
    EXPECT_EQ(sequence(c), "PgPg"
                           "LrPb"
                           "LrPbPb"
                           "LrPb");
    // The second face has four indices: only 1, 3, 2 are drawn.
    const auto& second = c.primitives[1].vertices;
    ASSERT_EQ(second.size(), 3u);
    EXPECT_TRUE(scene::near_point(second[0], 800, 0));
    EXPECT_TRUE(scene::near_point(second[1], 800, 400));
    EXPECT_TRUE(scene::near_point(second[2], 0, 400));
}

TEST_F(PatchTest, ColoursPerPolygonReplaceTheFaceColour) {
    patch().faces.clear();
    patch().edge_color = "none";
    patch().c_data = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    std::string seen;
    for (const auto& p : draw().primitives)
        seen += colour_of(p);
    EXPECT_EQ(seen.front(), 'r');
    EXPECT_EQ(seen.back(), 'b');
    EXPECT_NE(seen.find('g'), std::string::npos);

    patch().c_data = {{1, 0, 0}}; // polygons 1 and 2 have no colour: left unfilled
    const Capture c = draw();
    ASSERT_FALSE(c.primitives.empty());
    for (const auto& p : c.primitives)
        EXPECT_EQ(colour_of(p), 'r');
}

TEST_F(PatchTest, NoneAndNoneLeavesOnlyTheTrianglesIn2dAndNothingIn3d) {
    patch().edge_color = "none";
    patch().face_color = "none";
    EXPECT_EQ(sequence(draw()), "PgPg");
    patch().type = 1;
    EXPECT_TRUE(draw().primitives.empty());
}

TEST_F(PatchTest, ThreeDimensionalPolygonsMapIntoTheCube) {
    patch().type = 1;
    patch().x_data = {{0, 10, 10}};
    patch().y_data = {{0, 0, 10}};
    patch().z_data = {{0, 10, 10}};
    patch().face_color = "none";
    const auto lines = draw().of_kind(PrimitiveKind::line);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(scene::near_point(lines[0].vertices[0], 0, 0));
    EXPECT_NEAR(lines[0].vertices[0].z, 1, 1e-3);
    EXPECT_TRUE(scene::near_point(lines[1].vertices[1], 800, 400));
    EXPECT_NEAR(lines[1].vertices[1].z, 0, 1e-3);
}

TEST_F(PatchTest, OutlineWidthReachesAnEpsPageOnly) {
    patch().line_width = 3;
    const std::string eps = scene::eps_page([this] {
        scene::unit_square_view();
        internals(engine).display_patch();
    });
    EXPECT_NE(eps.find("3 W"), std::string::npos);
    patch().line_width = 5;
    EXPECT_FALSE(draw().primitives.empty()); // outside a page GL2PS is left alone
    GLfloat width = 0;
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_EQ(width, 5);
}

TEST_F(PatchTest, SizesThatDisagreeDrawOnlyWhatTheDataCovers) {
    patch().faces = {{0, 1, 7}, {-1, 0, 1}, {0, 1}, {0, 1, 4}, {0, 1, 2}};
    patch().vertices.push_back({5}); // index 4: a vertex without y
    patch().x_data = {{1, 2, 2}, {3, 4, 4}};
    patch().y_data = {{1, 1}}; // polygon 0 keeps two corners, polygon 1 none
    patch().z_data = {{0}};
    patch().face_color = "none";
    Capture c = draw();
    EXPECT_EQ(c.count(PrimitiveKind::polygon), 1u); // only the last face is whole
    EXPECT_EQ(c.count(PrimitiveKind::line), 2u);    // a two-corner loop: there and back
    patch().type = 1;
    EXPECT_TRUE(draw().primitives.empty()); // no corner has all three coordinates but one
}

} // namespace
