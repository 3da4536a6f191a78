// A picture at text and line scale 2 against the same picture at 1: every string's box
// twice as wide and high, the strings still inside the window and apart, the ink of a
// title twice as tall in the pixels read back, and the exported page's font size and
// line widths doubled.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "rizodozad/core/engine.h"
#include "tests/support/gl_fixture.h"

namespace {

using rizodozad::DrawnText;

const std::string title = "Reflected pulse";

class Labelled : public rizodozad::ZarIdor {
  public:
    void compose_figure() override {
        subplot(1, 1, 1);
        if (rizodozad::Axes* axes = current_axes()) {
            axes->title = title;
            axes->x_label = "cell";
            axes->y_label = "Ez (V/m)";
        }
        plot({0, 50, 100, 150, 200}, {0, 0.8, -0.4, 0.2, 0});
        plot({0, 50, 100, 150, 200}, {0, -0.3, 0.5, -0.1, 0});
        legend({"incident", "reflected"});
        figure_text(20, 10, "step 150");
    }
};

struct Drawn {
    std::vector<DrawnText> texts;
    rizodozad::Frame frame;
};

Drawn draw_at_scale(double scale) {
    Labelled engine;
    testsupport::size_like_window(engine);
    engine.tidy_layout = true;
    engine.set_text_scale(scale);
    engine.set_line_scale(scale);
    Drawn drawn;
    drawn.frame = engine.capture_picture();
    drawn.texts = internals(engine).drawn_texts;
    return drawn;
}

const DrawnText* find(const std::vector<DrawnText>& texts, const std::string& s) {
    for (const DrawnText& t : texts)
        if (t.text == s) return &t;
    return nullptr;
}

bool apart(const DrawnText& a, const DrawnText& b) {
    return a.left + a.width <= b.left || b.left + b.width <= a.left ||
           a.bottom + a.height <= b.bottom || b.bottom + b.height <= a.bottom;
}

// Rows (from the bottom of the window) holding dark pixels inside a text's box, widened
// by a margin for descenders.
int ink_height(const rizodozad::Frame& frame, const DrawnText& box) {
    constexpr int margin = 4;
    int low = frame.height, high = -1;
    for (int y = static_cast<int>(box.bottom) - margin; y < box.bottom + box.height + margin; ++y)
        for (int x = static_cast<int>(box.left); x < box.left + box.width; ++x) {
            const std::size_t at =
                (static_cast<std::size_t>(frame.height - 1 - y) * frame.width + x) * 3;
            if (frame.rgb[at] > 100) continue;
            low = std::min(low, y);
            high = std::max(high, y);
        }
    return high - low + 1;
}

class TextScale : public testsupport::GlTest {};

TEST_F(TextScale, DoubleScaleDoublesEveryTextBoxAndKeepsThemApart) {
    const Drawn one = draw_at_scale(1);
    const Drawn two = draw_at_scale(2);
    for (const char* s : {"incident", "reflected", "step 150", "cell", "Reflected pulse"}) {
        const DrawnText* small = find(one.texts, s);
        const DrawnText* large = find(two.texts, s);
        ASSERT_TRUE(small && large) << s;
        EXPECT_EQ(large->width, 2 * small->width) << s;
        EXPECT_EQ(large->height, 2 * small->height) << s;
    }
    for (std::size_t i = 0; i < two.texts.size(); ++i) {
        const DrawnText& t = two.texts[i];
        EXPECT_TRUE(t.left >= 0 && t.bottom >= 0 && t.left + t.width <= two.frame.width &&
                    t.bottom + t.height <= two.frame.height)
            << t.text;
        for (std::size_t j = i + 1; j < two.texts.size(); ++j)
            EXPECT_TRUE(apart(t, two.texts[j])) << t.text << " overlaps " << two.texts[j].text;
    }
    const int small_ink = ink_height(one.frame, *find(one.texts, title));
    EXPECT_GE(small_ink, 9); // capitals and a descender of the 12-pixel font
    EXPECT_EQ(ink_height(two.frame, *find(two.texts, title)), 2 * small_ink);
}

TEST_F(TextScale, ExportedFontSizeAndLineWidthsFollowTheScale) {
    Labelled engine;
    testsupport::size_like_window(engine);
    engine.tidy_layout = true;
    engine.set_text_scale(2);
    engine.set_line_scale(3);
    char* buffer = nullptr;
    std::size_t size = 0;
    std::FILE* stream = open_memstream(&buffer, &size);
    ASSERT_TRUE(engine.export_eps(stream, "memory.eps"));
    std::fclose(stream);
    const std::string eps(buffer, size);
    std::free(buffer);
    EXPECT_NE(eps.find("(" + title + ") "), std::string::npos);
    EXPECT_NE(eps.find(" 24 /Arial S"), std::string::npos);
    EXPECT_EQ(eps.find(" 12 /Arial S"), std::string::npos);
    EXPECT_NE(eps.find("\n3 W\n"), std::string::npos); // lines of width 1, three times as wide
}

TEST_F(TextScale, UnusableScalesAreIgnored) {
    Labelled engine;
    engine.set_text_scale(1.5);
    for (double bad : {0.0, -2.0, std::numeric_limits<double>::infinity(),
                       std::numeric_limits<double>::quiet_NaN()})
        engine.set_text_scale(bad);
    EXPECT_EQ(engine.text_scale(), 1.5);
    EXPECT_EQ(engine.line_scale(), 1.0);
}

} // namespace
