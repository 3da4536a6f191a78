// Three-dimensional axes: camera, axis edges by azimuth, ticks, labels and the box switch.
#include <cmath>

#include "rizodozad/axes/ticks.h"
#include "rizodozad/core/engine.h"
#include "tests/scene_records.h"

namespace {

using testsupport::Capture;
using testsupport::capture_feedback;
using testsupport::PrimitiveKind;

class Axes3dTest : public testsupport::GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        scene::add_axes(engine, 1);
    }

    rizodozad::Axes& axes() { return internals(engine).axes_list[0]; }

    Capture draw() {
        Capture c = capture_feedback([this] { internals(engine).display_axes_3d(); });
        glGetDoublev(GL_MODELVIEW_MATRIX, view_);
        glGetIntegerv(GL_VIEWPORT, viewport_);
        return c;
    }

    // Where a point of the cube lands in the window under the view the axes set.
    std::array<double, 2> project(double x, double y, double z) const {
        const GLdouble identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
        double wx = 0, wy = 0, wz = 0;
        gluProject(x, y, z, view_, identity, viewport_, &wx, &wy, &wz);
        return {wx, wy};
    }

    void expect_segment(const testsupport::Primitive& line, std::array<double, 3> from,
                        std::array<double, 3> to) const {
        const auto a = project(from[0], from[1], from[2]);
        const auto b = project(to[0], to[1], to[2]);
        EXPECT_NEAR(line.vertices[0].x, a[0], scene::tolerance);
        EXPECT_NEAR(line.vertices[0].y, a[1], scene::tolerance);
        EXPECT_NEAR(line.vertices[1].x, b[0], scene::tolerance);
        EXPECT_NEAR(line.vertices[1].y, b[1], scene::tolerance);
    }

    rizodozad::ZarIdor engine;
    GLdouble view_[16] = {};
    GLint viewport_[4] = {};
};

TEST_F(Axes3dTest, DefaultViewLooksFromTheEyeOnTheUnitSphereAndPlacesTicks) {
    axes().x_tick = {0, 2, 4, 6, 8, 10};
    const Capture c = draw();

    glLoadIdentity();
    glOrtho(-1.8, 1.8, -1.8, 1.8, -1.5, 3.0);
    gluLookAt(0.75, 0.4330127, 0.5, 0, 0, 0, 0, 0, 1);
    GLdouble expected[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, expected);
    for (int k = 0; k < 16; ++k)
        EXPECT_NEAR(view_[k], expected[k], 1e-6) << k;
    EXPECT_EQ(viewport_[2], testsupport::window_width);

    // D = 1, E = 1: the three axis lines, then the x ticks at u = -1, -0.6, ..., 1.
    const auto lines = c.of_kind(PrimitiveKind::line);
    ASSERT_EQ(lines.size(), 3u + 6u);
    expect_segment(lines[0], {-1, 1, -1}, {1, 1, -1});
    expect_segment(lines[1], {1, -1, -1}, {1, 1, -1});
    expect_segment(lines[2], {1, -1, -1}, {1, -1, 1});
    for (int k = 0; k < 6; ++k) {
        const double u = -1 + 0.4 * k;
        expect_segment(lines[3 + k], {u, 1, -1}, {u, 1.05, -1});
    }
    for (const auto& p : c.primitives)
        EXPECT_EQ(p.vertices.empty() ? 0 : p.vertices[0].color[0], 0);
}

TEST_F(Axes3dTest, AzimuthPicksTheEdgesEvenWhenNegativeOrAFullTurn) {
    struct Case {
        float azimuth;
        double d, e;
    };
    for (const Case& k : {Case{200, -1, -1}, Case{360, 1, 1}, Case{-110, -1, -1}, Case{100, 1, -1},
                          Case{300, -1, 1}, Case{-1e-6f, 1, 1}, Case{-719, 1, 1}}) {
        SCOPED_TRACE(k.azimuth);
        axes().view_azimuth = k.azimuth;
        const auto lines = draw().of_kind(PrimitiveKind::line);
        ASSERT_EQ(lines.size(), 3u);
        expect_segment(lines[0], {-1, k.d, -1}, {1, k.d, -1});
        expect_segment(lines[1], {k.e, -1, -1}, {k.e, 1, -1});
        expect_segment(lines[2], {k.d, -k.e, -1}, {k.d, -k.e, 1});
    }
}

TEST_F(Axes3dTest, LabelsAreCentredOnTheirAnchors) {
    axes().z_tick = {5};
    const Capture c = draw();
    const auto bitmaps = c.of_kind(PrimitiveKind::bitmap);
    // The name "x" sits at (0, 1.4, -1), moved 3 pixels left and 6 down.
    const auto anchor = project(0, 1.4f, -1);
    const bool found = std::any_of(bitmaps.begin(), bitmaps.end(), [&](const auto& b) {
        return scene::near_point(b.vertices[0], static_cast<float>(anchor[0] - 3),
                                 static_cast<float>(anchor[1] - 6));
    });
    EXPECT_TRUE(found);
    // The label of z tick 5 (its text from format_tick_label) is centred at (1.2, -1, 0).
    const std::string label = rizodozad::format_tick_label(5);
    const auto z_anchor = project(1.2f, -1, 0);
    const auto shift = static_cast<float>(label.size() * 6 / 2);
    EXPECT_TRUE(std::any_of(bitmaps.begin(), bitmaps.end(), [&](const auto& b) {
        return scene::near_point(b.vertices[0], static_cast<float>(z_anchor[0]) - shift,
                                 static_cast<float>(z_anchor[1] - 6));
    }));

    axes().show_tick_labels = 0;
    const std::size_t names_only = draw().count(PrimitiveKind::bitmap);
    // Each string gives one token for the centring move and one per character.
    EXPECT_EQ(names_only, 3u * 2u);
    EXPECT_EQ(bitmaps.size(), names_only + 1 + label.size());
}

TEST_F(Axes3dTest, WithoutBoxTheViewIsSetAndOnlyChildrenDraw) {
    axes().box = 0;
    axes().x_tick = {0, 5, 10};
    rizodozad::Surface mesh;
    mesh.type = 1;
    mesh.face_color = "none";
    mesh.x_data = {{0, 10}};
    mesh.y_data = {{0, 10}};
    mesh.z_data = {{0, 0}, {10, 10}};
    scene::add_surface(engine, mesh);

    const Capture c = capture_feedback([this] { internals(engine).display_axes(); });
    EXPECT_EQ(c.count(PrimitiveKind::bitmap), 0u);
    // Only the mesh: two row strips and two column strips of two points.
    EXPECT_EQ(c.count(PrimitiveKind::line), 4u);
    glGetDoublev(GL_MODELVIEW_MATRIX, view_);
    glGetIntegerv(GL_VIEWPORT, viewport_);
    const auto corner = project(-1, -1, -1);
    EXPECT_TRUE(scene::near_point(c.of_kind(PrimitiveKind::line)[0].vertices[0],
                                  static_cast<float>(corner[0]), static_cast<float>(corner[1])));
}

} // namespace
