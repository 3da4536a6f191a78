// What cannot be placed is not drawn: logarithmic axes over data or limits at or below
// zero put no NaN or infinity into the picture or the EPS file. And every byte of a
// string is drawn, whatever its sign as a char.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "rizodozad/core/engine.h"
#include "tests/scene_records.h"
#include "tests/support/picture.h"
#include "tests/support/process.h"
#include "tests/support/scratch_directory.h"

namespace {

using rizodozad::axis_scale::logarithmic;
using testsupport::Capture;
using testsupport::Picture;
using testsupport::PrimitiveKind;

constexpr int random_pictures = 24;
constexpr unsigned random_seed = 20261207u;

bool every_vertex_finite(const Capture& capture) {
    for (const auto& primitive : capture.primitives)
        for (const auto& v : primitive.vertices)
            if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.z)) return false;
    return true;
}

// Exports to a file, as print_eps does, and asks Ghostscript to read all of it.
int ghostscript_status(Picture& picture, const std::string& path, std::string& eps) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr || !picture.export_eps(file, path.c_str())) return -2;
    std::fclose(file);
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    eps = text.str();
    return testsupport::run_process(
               {"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=nullpage", path})
        .exit_status;
}

// A picture of every 2D kind on axes whose scales, limits and data are drawn at random,
// with zero, negative, huge and missing values among the data.
void random_log_picture(Picture& p, std::mt19937& dice) {
    std::uniform_real_distribution<double> value(-5, 50);
    const auto values = [&](std::size_t n) {
        std::vector<double> v(n);
        for (double& x : v)
            x = dice() % 7 == 0 ? 0.0 : value(dice);
        if (dice() % 3 == 0) v[0] = std::nan("");
        return v;
    };
    rizodozad::Axes& axes = *internals(p).current_axes;
    axes.x_scale = dice() % 2 == 0 ? logarithmic : rizodozad::axis_scale::linear;
    axes.y_scale = logarithmic;
    if (dice() % 2 == 0) {
        axes.x_lim_mode = axes.y_lim_mode = rizodozad::limit_mode::manual;
        axes.x_lim = {value(dice), value(dice)};
        axes.y_lim = {value(dice) - 10, value(dice)};
    }
    axes.x_grid = axes.y_grid = 1;
    p.set(p.plot(values(12), values(12)), "Marker", "o");
    if (rizodozad::Line* line = internals(p).current_line.get()) {
        line->error_bar = 1;
        line->error_upper = values(12);
        line->error_lower = values(12);
    }
    p.text(value(dice), value(dice), "here");
    p.patch(rizodozad::Matrix{values(4)}, rizodozad::Matrix{values(4)});
    p.surface(rizodozad::Matrix{values(3), values(3)});
    p.contour({1, 2, 3}, {1, 2}, rizodozad::Matrix{values(3), values(3)}, {0, 10, 20});
}

class Unplaceable : public testsupport::GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        testsupport::size_like_window(picture);
    }

    Capture drawn() {
        return testsupport::capture_feedback([this] { picture.display_cycle(); });
    }

    Picture picture;
};

} // namespace

TEST_F(Unplaceable, RandomLogAxisPicturesExportFilesGhostscriptReads) {
    testsupport::ScratchDirectory scratch("unplaceable");
    std::mt19937 dice(random_seed);
    for (int k = 0; k < random_pictures; ++k) {
        const std::mt19937 start = dice;
        picture.composition = [&dice, start](Picture& p) {
            dice = start; // every pass composes the same picture
            random_log_picture(p, dice);
        };
        internals(picture).mode = rizodozad::display_mode::allocation;
        EXPECT_TRUE(every_vertex_finite(drawn())) << "picture " << k;
        std::string eps;
        EXPECT_EQ(ghostscript_status(picture, (scratch.path() / "out.eps").string(), eps), 0)
            << "picture " << k;
        EXPECT_EQ(eps.find("nan"), std::string::npos) << "picture " << k;
        EXPECT_EQ(eps.find("inf"), std::string::npos) << "picture " << k;
    }
}

// Only the positive part of a line has a logarithm: it sets the limits, gets ticks and
// is drawn; where the line passes through zero it breaks.
TEST_F(Unplaceable, AutomaticLogLimitsComeFromThePositiveDataOnly) {
    picture.composition = [](Picture& p) {
        internals(p).current_axes->y_scale = logarithmic;
        p.plot({1, 2, 3, 4, 5, 6}, {10, 100, 0, -1, 1, 1000});
    };
    const Capture capture = drawn();
    const rizodozad::Axes& axes = internals(picture).axes_list.at(1);
    EXPECT_EQ(axes.y_lim, (std::array<double, 2>{1, 1000}));
    EXPECT_FALSE(axes.y_tick.empty());
    EXPECT_TRUE(every_vertex_finite(capture));
    // The frame (4), the x and y ticks, and the two drawable pieces of the line: 10-100
    // and 1-1000, one segment each.
    const std::size_t frame_and_ticks = 4 + axes.x_tick.size() + axes.y_tick.size();
    EXPECT_EQ(capture.count(PrimitiveKind::line), frame_and_ticks + 2);
}

TEST_F(Unplaceable, LogAxesWithLimitsAtOrBelowZeroDrawTheirFrameOnly) {
    picture.composition = [](Picture& p) {
        rizodozad::Axes& axes = *internals(p).current_axes;
        axes.x_scale = axes.y_scale = logarithmic;
        axes.x_lim_mode = axes.y_lim_mode = rizodozad::limit_mode::manual;
        axes.x_lim = {-10, 10};
        axes.y_lim = {0, 100};
        p.plot({1, 2, 3}, {1, 2, 3});
        p.text(1, 1, "nowhere");
    };
    const Capture capture = drawn();
    EXPECT_TRUE(every_vertex_finite(capture));
    const std::vector<testsupport::Primitive> lines = capture.of_kind(PrimitiveKind::line);
    ASSERT_GE(lines.size(), 4u);
    // The frame of the plot axes at (0.13, 0.11) .. (0.905, 0.925) of the 800 x 400 window.
    EXPECT_TRUE(scene::near_point(lines[0].vertices[0], 104, 44));
    EXPECT_TRUE(scene::near_point(lines[2].vertices[0], 724, 370));
    // Tick labels of the x axis that fall left of the frame are outside the window; no
    // label and no text of the plot is placed inside it.
    for (const auto& bitmap : capture.of_kind(PrimitiveKind::bitmap))
        EXPECT_FALSE(bitmap.vertices[0].x > 104 && bitmap.vertices[0].y > 44 &&
                     bitmap.vertices[0].y < 370);
}

// GLUT draws nothing for a negative character code: every byte must reach it unsigned.
TEST_F(Unplaceable, BytesAboveAsciiAreDrawnByEveryTextRenderer) {
    const std::string latin1 = "caf\xe9 \xc5"; // 6 bytes, two of them above 127
    scene::add_axes(picture);
    rizodozad::Text text;
    text.handle = rizodozad::make_handle(0, rizodozad::kind::text);
    text.text = latin1;
    internals(picture).text_list.push_back(text);
    internals(picture).current_text.select(0);
    rizodozad::Layer layer;
    layer.name = latin1;
    internals(picture).layer_list.push_back(layer);
    picture.pointer_x = 0;

    const auto bitmaps = [](const std::function<void()>& draw) {
        return testsupport::capture_feedback(draw).count(PrimitiveKind::bitmap);
    };
    EXPECT_EQ(bitmaps([&] {
                  scene::unit_square_view();
                  internals(picture).display_text();
              }),
              latin1.size());
    // A 3D label adds one bitmap: the move that centres it on its point.
    EXPECT_EQ(bitmaps([&] {
                  scene::flat_cube_view();
                  internals(picture).draw_string_3d(0, 0, 0, latin1);
              }),
              latin1.size() + 1);
    EXPECT_EQ(bitmaps([&] { internals(picture).display_layer_list(); }), latin1.size());
    EXPECT_EQ(bitmaps([&] { internals(picture).draw_string(0.5f, 0.5f, latin1); }), latin1.size());
}
