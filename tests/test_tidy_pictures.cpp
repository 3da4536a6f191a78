// The tidy layout as drawn: the boxes of every string the engine drew (where OpenGL
// put its raster position, as wide as the font's characters) lie inside the window and
// apart from one another, for every gallery page, the fdtd1d picture and random
// compositions, at small, medium and large windows; and a legend keeps off the data.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/fdtd.h"
#include "gallery/gallery.h"
#include "rizodozad/core/engine.h"
#include "rizodozad/core/pictures.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/quiet_steps.h"

namespace {

using rizodozad::DrawnText;
using rizodozad::ZarIdor;

struct WindowSize {
    int width;
    int height;
};
constexpr WindowSize window_sizes[] = {{400, 300}, {800, 400}, {1600, 900}};

std::string describe(const DrawnText& t) {
    std::ostringstream s;
    s << "'" << t.text << "' at (" << t.left << ", " << t.bottom << ") " << t.width << "x"
      << t.height;
    return s.str();
}

bool apart(const DrawnText& a, const DrawnText& b) {
    return a.left + a.width <= b.left || b.left + b.width <= a.left ||
           a.bottom + a.height <= b.bottom || b.bottom + b.height <= a.bottom;
}

// Draws the engine's picture at the given size and checks what its text routine drew.
void expect_tidy_texts(ZarIdor& engine, WindowSize size, const std::string& what) {
    engine.tidy_layout = true;
    engine.window_width = size.width;
    engine.window_height = size.height;
    engine.display_cycle();
    engine.display_cycle(); // a redraw must keep the layout, not shrink it again
    const std::vector<DrawnText>& texts = internals(engine).drawn_texts;
    const std::string where =
        what + " at " + std::to_string(size.width) + "x" + std::to_string(size.height);
    ASSERT_FALSE(texts.empty()) << where;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const DrawnText& t = texts[i];
        EXPECT_TRUE(t.left >= 0 && t.bottom >= 0 && t.left + t.width <= size.width &&
                    t.bottom + t.height <= size.height)
            << where << ": outside the window: " << describe(t);
        for (std::size_t j = i + 1; j < texts.size(); ++j)
            EXPECT_TRUE(apart(t, texts[j]))
                << where << ": " << describe(t) << " overlaps " << describe(texts[j]);
    }
}

class TidyPictures : public testsupport::GlTest {};

} // namespace

TEST_F(TidyPictures, GalleryPagesKeepTheirTextsInsideAndApart) {
    for (int page = gallery::first_page; page < gallery::first_page + gallery::page_count; ++page)
        for (WindowSize size : window_sizes) {
            gallery::Gallery engine;
            engine.show_page(page);
            expect_tidy_texts(engine, size, std::string("page ") + gallery::page_name(page));
        }
}

// The read-out of a selected plot takes its own line: it is checked with the rest.
TEST_F(TidyPictures, FdtdAfter150StepsWithAReadoutKeepsItsTextsApart) {
    for (WindowSize size : window_sizes) {
        FDTD simulation;
        simulation.init_fields(grid_cell_size);
        simulation.tidy_layout = true;
        simulation.running = 1;
        testsupport::run_quietly(simulation, 150);
        expect_tidy_texts(simulation, size, "fdtd1d");
        // Two presses in the middle plot: the first selects it, the second reads off.
        const int x = size.width / 2;
        const int y = size.height / 2;
        simulation.axes_click(0, 0, x, y);
        simulation.axes_click(0, 0, x, y);
        expect_tidy_texts(simulation, size, "fdtd1d with a read-out");
        bool readout = false;
        for (const DrawnText& t : internals(simulation).drawn_texts)
            readout = readout || t.text.find("nearest: line 1") != std::string::npos;
        EXPECT_TRUE(readout) << "no read-out with the nearest point at " << size.width << "x"
                             << size.height;
    }
}

namespace {

// A composition drawn from a seed: a grid of plots with limits from tiny to huge, some
// logarithmic, long and short titles and labels, legends, colour bars and a status line.
class RandomComposition : public ZarIdor {
  public:
    explicit RandomComposition(unsigned seed) : seed_(seed) {}

    void compose_figure() override {
        std::mt19937 random(seed_); // the same composition in every pass
        const int rows = pick(random, 1, 3);
        const int columns = pick(random, 1, 3);
        layer("random");
        for (int cell = 1; cell <= rows * columns; ++cell)
            compose_plot(random, rows, columns, cell);
        if (pick(random, 0, 1)) figure_text(4, 4, "status: step 1234 of 5000, paused");
    }

  private:
    static int pick(std::mt19937& random, int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(random);
    }

    void compose_plot(std::mt19937& random, int rows, int columns, int cell) {
        subplot(rows, columns, cell);
        rizodozad::Axes* axes = current_axes();
        const bool log_y = pick(random, 0, 3) == 0;
        const double scale = std::pow(10.0, pick(random, -9, 9));
        const double offset = pick(random, 0, 1) ? 0 : 1000 * scale;
        const std::vector<std::string> words{"", "t (s)", "Ez (V/m)", "a rather long axis label"};
        axes->title = words[pick(random, 0, 3)];
        axes->x_label = words[pick(random, 0, 3)];
        axes->y_label = words[pick(random, 0, 3)];
        axes->y_scale = log_y ? 1 : 0;
        const int lines = pick(random, 1, 3);
        std::vector<std::string> names;
        for (int k = 0; k < lines; ++k) {
            std::vector<double> x, y;
            for (int i = 1; i <= 50; ++i) {
                x.push_back(offset + scale * i);
                y.push_back(log_y ? std::pow(10.0, (k + 1) * i / 10.0)
                                  : scale * std::sin(i * 0.2 + k));
            }
            plot(x, y);
            names.push_back(words[pick(random, 1, 3)]);
        }
        if (pick(random, 0, 1)) legend(names);
        if (pick(random, 0, 2) == 0) { // a colour bar over a tiny or huge colour range
            axes->c_lim = {0, 4 * scale};
            colorbar();
        }
    }

    unsigned seed_;
};

} // namespace

TEST_F(TidyPictures, RandomCompositionsKeepTheirTextsInsideAndApart) {
    constexpr unsigned compositions = 12;
    for (unsigned seed = 1; seed <= compositions; ++seed)
        for (WindowSize size : window_sizes) {
            RandomComposition engine(seed);
            expect_tidy_texts(engine, size, "composition " + std::to_string(seed));
        }
}

namespace {

// One plot whose red data fill every corner of the frame but the bottom left.
class DataInThreeCorners : public ZarIdor {
  public:
    void compose_figure() override {
        subplot(1, 1, 1);
        plot({0, 10}, {10, 10}); // along the top
        set("r");
        plot({10, 10}, {0, 10}); // down the right side
        set("r");
        legend({"top edge", "right edge"});
    }
};

bool red(const rizodozad::Frame& f, int x, int y) {
    const std::size_t i = 3 * (static_cast<std::size_t>(y) * f.width + x);
    return f.rgb[i] > 200 && f.rgb[i + 1] < 80 && f.rgb[i + 2] < 80;
}

} // namespace

TEST_F(TidyPictures, TheLegendTakesTheCornerWithoutData) {
    DataInThreeCorners engine;
    engine.tidy_layout = true;
    testsupport::size_like_window(engine);
    engine.display_cycle();
    const rizodozad::Frame frame = engine.capture_picture();
    ASSERT_EQ(frame.width, testsupport::window_width);

    const DrawnText* name = nullptr;
    for (const DrawnText& t : internals(engine).drawn_texts)
        if (t.text == "top edge") name = &t;
    ASSERT_NE(name, nullptr) << "the legend was not drawn";
    const auto& p = internals(engine).axes_list.back().position;
    EXPECT_LT(name->left, (p[0] + p[2] / 2) * frame.width) << "not in the left half";
    EXPECT_LT(name->bottom, (p[1] + p[3] / 2) * frame.height) << "not in the bottom half";

    // The frame's bottom left quarter shows no data; rows of the frame are counted
    // from the top in the captured picture, and the samples are left of the names.
    int red_pixels = 0;
    for (int y = 0; y < frame.height; ++y)
        for (int x = static_cast<int>(name->left); x < frame.width; ++x) {
            const double from_bottom = frame.height - 1 - y;
            const bool lower_left = x < (p[0] + p[2] / 2) * frame.width &&
                                    from_bottom > p[1] * frame.height + 2 &&
                                    from_bottom < (p[1] + p[3] / 2) * frame.height;
            if (lower_left && red(frame, x, y)) ++red_pixels;
        }
    EXPECT_EQ(red_pixels, 0);
}
