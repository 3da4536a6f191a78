// The creators of surfaces, contours, patches, texts and colour bars, run through
// whole display cycles of a composition and checked in the records and in what
// OpenGL received.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "rizodozad/core/engine.h"
#include "tests/support/feedback.h"
#include "tests/support/gl_fixture.h"

namespace rizodozad {
namespace {

using testsupport::Capture;
using testsupport::PrimitiveKind;

constexpr double margin = 0.03f; // automatic limits reach this fraction beyond the data
constexpr float pixel_tolerance = 0.02f;
const Rgb red{1, 0, 0};
const Rgb blue{0, 0, 1};
const double not_a_number = std::numeric_limits<double>::quiet_NaN();

// A picture whose composition the test supplies, drawn into the plot axes (index 1):
// its unit square is the viewport (100, 100, 400, 200).
class Picture : public ZarIdor {
  public:
    std::function<void(Picture&)> composition = [](Picture&) {};
    void compose_figure() override {
        current_axes()->position = {0.125f, 0.25f, 0.5f, 0.5f};
        composition(*this);
    }
    Axes& plot_axes() { return internals(*this).axes_list.at(1); }
};

class Creators : public testsupport::GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        testsupport::size_like_window(picture);
    }
    Capture cycle() {
        return testsupport::capture_feedback([this] { picture.display_cycle(); });
    }
    Picture picture;
};

bool same_colour(const testsupport::FeedbackVertex& v, const Rgb& c) {
    return std::abs(v.color[0] - c[0]) < 1e-3f && std::abs(v.color[1] - c[1]) < 1e-3f &&
           std::abs(v.color[2] - c[2]) < 1e-3f;
}

std::size_t polygons_in(const Capture& capture, const Rgb& colour) {
    std::size_t n = 0;
    for (const auto& p : capture.of_kind(PrimitiveKind::polygon))
        n += same_colour(p.vertices.at(0), colour) ? 1 : 0;
    return n;
}

bool has_line_vertex(const Capture& capture, float x, float y) {
    for (const auto& p : capture.of_kind(PrimitiveKind::line))
        for (const auto& v : p.vertices)
            if (std::abs(v.x - x) < pixel_tolerance && std::abs(v.y - y) < pixel_tolerance)
                return true;
    return false;
}

TEST_F(Creators, IndexGridCellsTakeColormapColoursOverCLim) {
    picture.composition = [](Picture& p) {
        internals(p).current_axes->c_lim = {0, 2};
        p.surface({{0, 1, 2, 3}, {-1, not_a_number, 2, 1}});
    };
    const Capture drawn = cycle();

    ASSERT_EQ(internals(picture).surface_list.size(), 1u);
    const Surface& s = internals(picture).surface_list[0];
    const Colormap& map = internals(picture).current_colormap;
    EXPECT_EQ(s.handle, 4);
    EXPECT_EQ(picture.plot_axes().children, std::vector<int>{4});
    EXPECT_EQ(s.type, 0);
    // Equal bins over c_lim as a colour bar shows them; beyond it and NaN take the ends.
    const std::vector<std::vector<Rgb>> expected{{map[0], map[32], map[63], map[63]},
                                                 {map[0], map[0], map[63], map[32]}};
    EXPECT_EQ(s.c_data, expected);
    // The index grid spans the limits, so only z widens the extents.
    EXPECT_EQ(picture.plot_axes().data_x_min, 1e99);
    EXPECT_EQ(picture.plot_axes().x_lim, (std::array<double, 2>{0, 10}));
    EXPECT_EQ(picture.plot_axes().data_z_min, -1);
    EXPECT_EQ(picture.plot_axes().data_z_max, 3);
    EXPECT_EQ(polygons_in(drawn, map[0]), 2u); // cell (0, 0) as two triangles
    EXPECT_EQ(polygons_in(drawn, map[32]), 2u);
    EXPECT_EQ(polygons_in(drawn, map[63]), 2u);
}

TEST_F(Creators, GridSurfaceIsMatchedRefilledAndKeepsItsProperties) {
    double shift = 0;
    picture.composition = [&shift](Picture& p) {
        const int h = p.surface({{1 + shift, 2, 4}}, {{-1, 3}}, {{0, 0, 0}, {0, 0, 0}});
        if (internals(p).mode == display_mode::allocation) p.set(h, "FaceColor", "r");
    };
    cycle();
    internals(picture).surface_list[0].line_width =
        3; // survives only if the record is matched again
    shift = -1;
    const Capture drawn = cycle();

    ASSERT_EQ(internals(picture).surface_list.size(), 1u);
    const Surface& s = internals(picture).surface_list[0];
    EXPECT_EQ(s.line_width, 3);
    EXPECT_EQ(s.face_color, "r");
    EXPECT_EQ(s.x_data, (Matrix{{0, 2, 4}}));
    const Axes& axes = picture.plot_axes();
    EXPECT_DOUBLE_EQ(axes.x_lim[0], 0 - 4 * margin);
    EXPECT_DOUBLE_EQ(axes.x_lim[1], 4 + 4 * margin);
    EXPECT_DOUBLE_EQ(axes.y_lim[0], -1 - 4 * margin);
    EXPECT_EQ(polygons_in(drawn, red), 4u); // (3 - 1) * (2 - 1) cells, two triangles each
}

TEST_F(Creators, MeshAndSurfFillTheCubeOfThreeDimensionalAxes) {
    picture.composition = [](Picture& p) {
        internals(p).current_axes->type = 1;
        p.mesh({{0, 1, 2}}, {{0, 1}}, {{0, 1, 2}, {3, 4, 5}});
        p.surf({{0, 1}, {0, 1}}, {{0, 0}, {1, 1}}, {{-2, 0}, {0, 8}});
    };
    const Capture drawn = cycle();

    ASSERT_EQ(internals(picture).surface_list.size(), 2u);
    const Surface& mesh = internals(picture).surface_list[0];
    const Surface& surf = internals(picture).surface_list[1];
    EXPECT_EQ(std::tie(mesh.type, mesh.face_color, mesh.edge_color),
              std::make_tuple(1, "none", "b"));
    EXPECT_EQ(std::tie(surf.type, surf.face_color, surf.edge_color),
              std::make_tuple(2, "flat", "k"));
    EXPECT_DOUBLE_EQ(picture.plot_axes().z_lim[0], -2 - 10 * margin);
    EXPECT_DOUBLE_EQ(picture.plot_axes().z_lim[1], 8 + 10 * margin);
    // The mesh has no faces; the one cell of surf is two triangles in the colour of z = -2.
    EXPECT_EQ(drawn.count(PrimitiveKind::polygon), 2u);
    EXPECT_EQ(polygons_in(drawn, internals(picture).current_colormap[0]), 2u);
}

TEST_F(Creators, ContourAndTextAreDrawnAtTheirDataCoordinates) {
    std::string label = "first";
    picture.composition = [&label](Picture& p) {
        internals(p).current_axes->x_lim_mode = internals(p).current_axes->y_lim_mode = 1;
        internals(p).current_axes->x_lim = internals(p).current_axes->y_lim = {0, 2};
        p.contour({0, 1, 2}, {0, 1, 2}, {{0, 0, 0}, {0, 1, 0}, {0, 0, 0}}, {0.5});
        p.text(1, 0.5, label);
    };
    cycle();
    label = "again";
    const Capture drawn = cycle();

    EXPECT_EQ(internals(picture).surface_list.at(0).type, 3);
    EXPECT_EQ(internals(picture).surface_list[0].contour_levels, std::vector<double>{0.5});
    EXPECT_EQ(picture.plot_axes().data_x_max, 2);
    for (const auto& [x, y] : {std::pair{300.f, 150.f}, {200.f, 200.f}, {300.f, 250.f}})
        EXPECT_TRUE(has_line_vertex(drawn, x, y)) << x << ", " << y;

    const Text& text = internals(picture).text_list.at(0);
    EXPECT_EQ(text.handle, 5);
    EXPECT_EQ(text.text, "again");
    const auto bitmaps = drawn.of_kind(PrimitiveKind::bitmap);
    const auto first = std::find_if(bitmaps.begin(), bitmaps.end(), [](const auto& b) {
        return std::abs(b.vertices[0].x - 300) < 1 && std::abs(b.vertices[0].y - 150) < 1;
    });
    EXPECT_NE(first, bitmaps.end()); // the anchor (1, 0.5) in the plot's viewport
}

TEST_F(Creators, PatchesFillEachPolygonAndWidenLogarithmicAxesByPositiveValues) {
    picture.composition = [](Picture& p) {
        internals(p).current_axes->x_scale = internals(p).current_axes->y_scale = 1;
        EXPECT_EQ(p.patch({{1, 2, 2}, {2, 3, 3}}, {{1, 1, 2}, {0.5, 0.5, 9}}, Colormap{red, blue}),
                  7);
        // Drawn in the cube, where the scales do not apply; the extents still do.
        EXPECT_EQ(p.patch({{-4, 3, 3}}, {{-1, 1, 2}}, Matrix{{0, 1, 2}}), 107);
    };
    const Capture drawn = cycle();

    ASSERT_EQ(internals(picture).patch_list.size(), 2u);
    EXPECT_EQ(internals(picture).patch_list[0].type, 0);
    EXPECT_EQ(internals(picture).patch_list[1].type, 1);
    EXPECT_EQ(picture.plot_axes().children, (std::vector<int>{7, 107}));
    const Axes& axes = picture.plot_axes();
    EXPECT_EQ(std::make_tuple(axes.data_x_min, axes.data_x_max), std::make_tuple(1.0, 3.0));
    EXPECT_EQ(std::make_tuple(axes.data_y_min, axes.data_y_max), std::make_tuple(0.5, 9.0));
    EXPECT_EQ(axes.data_z_max, 2);
    EXPECT_EQ(polygons_in(drawn, red), 1u);
    EXPECT_EQ(polygons_in(drawn, blue), 1u);
}

TEST_F(Creators, RecordsOfAHiddenLayerHoldNoData) {
    picture.composition = [](Picture& p) {
        p.layer("hidden");
        p.create_axes();
        p.surface({{0, 1}}, {{0, 1}}, {{0, 1}, {1, 2}});
        p.contour({0, 1}, {0, 1}, {{0, 1}, {0, 1}}, {0.5});
        p.patch({{0, 1, 1}}, {{0, 0, 1}});
        p.text(1, 1, "shown");
    };
    cycle();
    internals(picture).layer_list.at(1).visible = 0;
    cycle();

    const Axes& axes = internals(picture).axes_list.at(3);
    EXPECT_EQ(std::make_tuple(axes.data_x_min, axes.data_y_max), std::make_tuple(1e99, -1e99));
    for (const Surface& s : internals(picture).surface_list)
        EXPECT_TRUE(s.x_data.empty() && s.z_data.empty() && s.contour_levels.empty());
    EXPECT_TRUE(internals(picture).patch_list.at(0).x_data.empty());
    EXPECT_TRUE(internals(picture).text_list.at(0).text.empty());
}

TEST_F(Creators, ColorbarStandsBesideItsPlotWhichStaysCurrent) {
    picture.composition = [](Picture& p) {
        internals(p).current_axes->c_lim = {-1, 3};
        p.set_colormap("Gray");
        p.surface({{0, 1}, {2, 3}});
        EXPECT_EQ(p.colorbar(), 202);
        p.set(202, "TickDir", "out");
        p.plot({0, 1}, {0, 1});
    };
    cycle();
    picture.debug = 1;
    testing::internal::CaptureStdout();
    const Capture drawn = cycle();
    const std::string trace = testing::internal::GetCapturedStdout();

    EXPECT_EQ(trace.find("allocation"), std::string::npos);
    ASSERT_EQ(internals(picture).axes_list.size(), 3u);
    const Axes& bar = internals(picture).axes_list[2];
    EXPECT_EQ(bar.type, 2);
    EXPECT_EQ(bar.tick_dir, "out");
    const std::array<float, 4> beside{0.64f, 0.25f, 0.02f, 0.5f};
    for (std::size_t k = 0; k < beside.size(); ++k)
        EXPECT_FLOAT_EQ(bar.position[k], beside[k]);
    EXPECT_EQ(bar.colormap, build_colormap("Gray"));
    EXPECT_EQ(bar.c_lim, (std::array<double, 2>{-1, 3}));
    EXPECT_EQ(bar.c_tick.front(), -1);
    EXPECT_TRUE(bar.children.empty());
    EXPECT_EQ(picture.plot_axes().children, (std::vector<int>{4, 3}));
    // Each of the 64 cells is a quadrilateral, so two triangles, in its grey.
    EXPECT_EQ(polygons_in(drawn, bar.colormap[40]), 2u);
}

TEST_F(Creators, AnAddedRecordReallocatesWithoutOverwritingTheOthers) {
    bool extra = false;
    Matrix first_seen;
    int plot_type_seen = -1;
    picture.composition = [&](Picture& p) {
        p.patch({{0, 1, 1}}, {{0, 0, 1}});
        if (!extra) return;
        p.patch({{5, 6, 6}}, {{5, 5, 6}});
        p.colorbar();
        if (internals(p).patch_list.size() == 1) { // the pass that finds no record for the extras
            first_seen = internals(p).patch_list[0].x_data;
            plot_type_seen = p.plot_axes().type;
        }
    };
    cycle();
    extra = true;
    picture.debug = 1;
    testing::internal::CaptureStdout();
    cycle();
    const std::string trace = testing::internal::GetCapturedStdout();

    EXPECT_NE(trace.find("not match in Patch\n"), std::string::npos);
    EXPECT_NE(trace.find("not match in Axes\n"), std::string::npos);
    EXPECT_EQ(first_seen, (Matrix{{0, 1, 1}}));
    EXPECT_EQ(plot_type_seen, 0);
    ASSERT_EQ(internals(picture).patch_list.size(), 2u);
    EXPECT_EQ(internals(picture).patch_list[1].x_data, (Matrix{{5, 6, 6}}));
    EXPECT_EQ(internals(picture).mode, display_mode::configuration);
}

TEST_F(Creators, MalformedDataIsStoredAndDrawnSafely) {
    picture.composition = [](Picture& p) {
        internals(p).current_axes->c_lim = {1, 1};
        p.surface({{}}, {{0, 1}}, {{1, 2}});                       // empty vector grid row
        p.surface({{0, 1, 2}, {0}}, {{0, 1}}, {{1, 2, 3}});        // ragged matrix grid
        p.surface({{0, 1, 2}}, {{0, 1, 2}}, {{1}, {1, 2, 3}, {}}); // z smaller than the grid
        p.create_axes();
        internals(p).current_axes->type = 1;
        p.surf({{0, 1}}, {{0, 1, 2}}, {{1, 2}, {3}});
        p.contour({0, 1}, {0, 1, 2}, {{0, 1}, {0}}, {});
        p.contour({}, {0}, {{0}}, {0.5});
        p.patch({{0, 1, 1}, {0, 1}}, {{0, 0}}, Colormap{red});
        p.patch({{0, 1, 1}}, {{0, 0, 1}}, Matrix{});
        const Colormap kept = internals(p).current_colormap;
        internals(p).current_colormap.clear();
        p.surface({{0, 1}}, {{0, 1}}, {{0, 1}, {1, 0}});
        internals(p).current_colormap = kept;
        p.text(0, 0, std::string("\xff\x01 ok"));
    };
    const Capture drawn = cycle();

    const auto& s = internals(picture).surface_list;
    ASSERT_EQ(s.size(), 7u);
    EXPECT_TRUE(s[0].x_data.empty() && s[0].z_data.empty()); // no grid, nothing stored
    EXPECT_EQ(s[1].c_data.at(0),
              std::vector<Rgb>(3, internals(picture).current_colormap[0])); // c_lim 1..1
    EXPECT_TRUE(s[5].x_data.empty());
    EXPECT_TRUE(s[6].c_data.empty()); // no colormap, no cell colours
    EXPECT_FALSE(drawn.overflowed);
}

TEST_F(Creators, StyleTokensAndPropertyKeysReachTheNewKinds) {
    picture.composition = [](Picture& p) {
        internals(p).current_axes->x_lim_mode = internals(p).current_axes->y_lim_mode = 1;
        internals(p).current_axes->x_lim = internals(p).current_axes->y_lim = {0, 2};
        const int surface = p.surface({{0, 1}, {1, 0}});
        p.set("dr");
        p.set(":");
        const int patch = p.patch({{0, 1, 1}}, {{0, 0, 1}});
        p.set("o");
        p.set(patch, "FaceColor", "none");
        p.set(patch, "COLOR", "b");
        p.text(0, 0, "t");
        p.set("r"); // a text has no properties: nothing changes
        p.set(surface, "EdgeColor", "none");
    };
    cycle();
    const Capture drawn = cycle();

    const Surface& surface = internals(picture).surface_list.at(0);
    EXPECT_EQ(std::tie(surface.edge_color, surface.line_style), std::make_tuple("none", ":"));
    const Patch& patch = internals(picture).patch_list.at(0);
    EXPECT_EQ(std::tie(patch.edge_color, patch.face_color, patch.line_style),
              std::make_tuple("b", "none", "none"));
    EXPECT_EQ(internals(picture).text_list.at(0).text, "t");
    // The patch is only outlined, at its corner (1, 1): all polygons are the surface's cells.
    EXPECT_EQ(drawn.count(PrimitiveKind::polygon), 2u);
    EXPECT_TRUE(has_line_vertex(drawn, 300, 200));
}

} // namespace
} // namespace rizodozad
