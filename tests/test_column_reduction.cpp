// The reduction of long polylines to pixel columns, checked against the rasteriser:
// the whole polyline and its reduction drawn into the real window must light the same
// pixels in every column.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "rizodozad/core/column_reduction.h"
#include "rizodozad/core/print_mirror.h"
#include "rizodozad/rizodozad.h"
#include "tests/pictures.h"
#include "tests/support/feedback.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/memory_eps.h"
#include "tests/support/scratch_directory.h"

namespace {

using rizodozad::PlotPoint;

using testsupport::window_width;

constexpr int plot_width = 600; // pixels: one column of the reduction each
constexpr int plot_height = 300;
constexpr double pi = 3.141592653589793;

// A recorded history: slow waves under a ripple whose phase wanders from point to point.
std::vector<PlotPoint> noisy_history(std::size_t n) {
    std::vector<PlotPoint> points(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / static_cast<double>(n - 1);
        const double y = 0.5 + 0.3 * std::sin(2 * pi * 3 * t) + 0.1 * std::sin(i * 1.7);
        points[i] = {static_cast<float>(t), static_cast<float>(y)};
    }
    return points;
}

// The lit pixels of a strip through points drawn in the unit square of the plot area.
std::vector<bool> rasterise(const std::vector<PlotPoint>& points) {
    glViewport(0, 0, plot_width, plot_height);
    glLoadIdentity();
    glOrtho(0, 1, 0, 1, -1, 1);
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(0, 0, 0);
    glBegin(GL_LINE_STRIP);
    for (const PlotPoint& p : points)
        glVertex2f(p.x, p.y);
    glEnd();
    std::vector<GLubyte> red(plot_width * plot_height);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, plot_width, plot_height, GL_RED, GL_UNSIGNED_BYTE, red.data());
    std::vector<bool> lit(red.size());
    for (std::size_t k = 0; k < red.size(); ++k)
        lit[k] = red[k] < 128;
    return lit;
}

class ColumnReduction : public testsupport::GlTest {};

// The lowest and highest lit row of every column, -1 for an empty column.
std::vector<std::pair<int, int>> column_extents(const std::vector<bool>& lit) {
    std::vector<std::pair<int, int>> extents(plot_width, {-1, -1});
    for (int row = 0; row < plot_height; ++row) {
        for (int column = 0; column < plot_width; ++column) {
            if (!lit[row * plot_width + column]) continue;
            auto& [low, high] = extents[column];
            if (low < 0) low = row;
            high = row;
        }
    }
    return extents;
}

// Exact pixels cannot be promised: a step shorter than a pixel lights a pixel or not by
// where it starts, so a column's top or bottom pixel may come or go. What the eye reads,
// each column's span, may change by that pixel at most, and hardly any pixel may differ.
TEST_F(ColumnReduction, DenseLineKeepsEveryColumnsSpan) {
    for (std::size_t n : {5000u, 200000u}) {
        const std::vector<PlotPoint> whole = noisy_history(n);
        const std::vector<PlotPoint> reduced = rizodozad::reduce_to_columns(whole, plot_width);
        EXPECT_LE(reduced.size(), 4u * (plot_width + 1)) << n << " points";
        const std::vector<bool> expected = rasterise(whole);
        const std::vector<bool> drawn = rasterise(reduced);
        const auto drawn_spans = column_extents(drawn);
        const auto expected_spans = column_extents(expected);
        for (int column = 0; column < plot_width; ++column) {
            EXPECT_NEAR(drawn_spans[column].first, expected_spans[column].first, 1) << column;
            EXPECT_NEAR(drawn_spans[column].second, expected_spans[column].second, 1) << column;
        }
        int lit = 0;
        int differing = 0;
        for (std::size_t k = 0; k < expected.size(); ++k) {
            lit += expected[k];
            differing += expected[k] != drawn[k];
        }
        EXPECT_LE(differing, lit / 200) << n << " points, " << lit << " lit";
    }
}

// The page of a strip through points exported by GL2PS, rendered by Ghostscript at 300 dpi.
testsupport::Image print_at_300_dpi(const std::vector<PlotPoint>& points, const std::string& dir,
                                    const std::string& name) {
    glViewport(0, 0, plot_width, plot_height);
    glLoadIdentity();
    glOrtho(0, 1, 0, 1, -1, 1);
    const std::string eps = testsupport::export_eps_in_memory([&] {
        glColor3f(0, 0, 0);
        rizodozad::print_mirror::set_line_width(0.5f); // the lines' default width
        glBegin(GL_LINE_STRIP);
        for (const PlotPoint& p : points)
            glVertex2f(p.x, p.y);
        glEnd();
    });
    const std::string eps_path = dir + "/" + name + ".eps";
    const std::string png_path = dir + "/" + name + ".png";
    std::ofstream(eps_path) << eps;
    const std::string command = "gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -dEPSCrop -r300 "
                                "-sOutputFile='" +
                                png_path + "' '" + eps_path + "'";
    if (std::system(command.c_str()) != 0) return {};
    return testsupport::read_png(png_path);
}

TEST_F(ColumnReduction, ExportResolutionLooksTheSameInPrint) {
    const testsupport::ScratchDirectory dir("column_reduction");
    const std::vector<PlotPoint> whole = noisy_history(50000); // fits the export helper's buffer
    const std::vector<PlotPoint> reduced =
        rizodozad::reduce_to_columns(whole, plot_width * rizodozad::export_columns_per_pixel);
    const testsupport::Image expected = print_at_300_dpi(whole, dir.path().string(), "whole");
    const testsupport::Image printed = print_at_300_dpi(reduced, dir.path().string(), "reduced");
    ASSERT_FALSE(expected.empty());
    ASSERT_EQ(printed.rgb.size(), expected.rgb.size());
    std::size_t differing = 0;
    for (std::size_t p = 0; p + 2 < expected.rgb.size(); p += 3)
        differing += expected.rgb[p] != printed.rgb[p] ||
                     expected.rgb[p + 1] != printed.rgb[p + 1] ||
                     expected.rgb[p + 2] != printed.rgb[p + 2];
    const std::size_t pixels = expected.rgb.size() / 3;
    EXPECT_LE(differing, pixels / 1000) << differing << " of " << pixels << " pixels differ";
}

// A long history plotted by the engine, with a point marker and an error bar at every point.
class LongHistory : public rizodozad::ZarIdor {
  public:
    LongHistory(std::size_t n, bool with_markers) : markers(with_markers) {
        testsupport::size_like_window(*this);
        for (const PlotPoint& p : noisy_history(n))
            y.push_back(p.y);
    }
    void compose_figure() override {
        subplot(1, 1, 1);
        plot_y(y);
        if (!markers) return;
        set(".");
        if (rizodozad::Line* line = current_line()) {
            line->error_bar = 1;
            line->error_upper.assign(y.size(), 0.01);
            line->error_lower.assign(y.size(), 0.01);
        }
    }
    std::vector<double> y;
    bool markers;
};

std::size_t count_of(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

TEST_F(ColumnReduction, EngineReducesThePolylineAlone) {
    constexpr std::size_t n = 40000;
    LongHistory history(n, true);
    history.display_cycle();
    const testsupport::Capture drawn =
        testsupport::capture_feedback([&] { history.display_cycle(); }, 1 << 25);
    ASSERT_FALSE(drawn.overflowed);
    EXPECT_EQ(drawn.count(testsupport::PrimitiveKind::point), n); // every marker
    // Four segments per error bar, and the polyline cut to at most four points per column.
    const std::size_t segments = drawn.count(testsupport::PrimitiveKind::line);
    EXPECT_GE(segments, 4 * n);
    EXPECT_LE(segments, 4 * n + 4 * (window_width + 1) + 1000); // with frame and ticks

    // The export holds the polyline at print resolution: more than one point per screen
    // column, far fewer than the whole line.
    LongHistory plain(n, false);
    plain.display_cycle();
    char* data = nullptr;
    std::size_t size = 0;
    std::FILE* stream = open_memstream(&data, &size);
    ASSERT_TRUE(plain.export_eps(stream, "history.eps"));
    std::fclose(stream);
    const std::string eps(data, size);
    std::free(data);
    const std::size_t points = count_of(eps, " L\n");
    EXPECT_GT(points, static_cast<std::size_t>(window_width));
    EXPECT_LT(points, n / 2);
}

TEST(ColumnReductionLogic, KeepsOrderEndsAndGaps) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    // Column 0 holds a dip then a peak, a gap splits column 1, column 2 has one point.
    const std::vector<PlotPoint> points{{0.1f, 5}, {0.2f, 1},   {0.3f, 9}, {0.4f, 4}, {0.5f, 6},
                                        {1.2f, 2}, {1.3f, nan}, {1.4f, 3}, {1.5f, 7}, {2.5f, 0}};
    const std::vector<PlotPoint> reduced = rizodozad::reduce_to_columns(points, 1.0);
    const std::vector<float> expected_y{5, 1, 9, 6, 2, nan, 3, 7, 0};
    ASSERT_EQ(reduced.size(), expected_y.size());
    for (std::size_t k = 0; k < reduced.size(); ++k) {
        if (std::isnan(expected_y[k]))
            EXPECT_TRUE(std::isnan(reduced[k].y)) << k;
        else
            EXPECT_EQ(reduced[k].y, expected_y[k]) << k;
    }
    EXPECT_TRUE(rizodozad::reduce_to_columns({}, 1.0).empty());
}

} // namespace
