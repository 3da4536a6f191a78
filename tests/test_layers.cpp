// Figures, layers and the layer list, checked through what OpenGL received.
#include <GL/freeglut.h>
#include <gl2ps.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "rizodozad/core/engine.h"
#include "rizodozad/test_hooks.h"
#include "tests/support/feedback.h"
#include "tests/support/gl_fixture.h"
#include "tests/window_pixel.h"

namespace rizodozad {
namespace {

using testsupport::Capture;
using testsupport::Primitive;
using testsupport::PrimitiveKind;

constexpr float tolerance = 0.01f;
constexpr int in_strip = 10;
constexpr int left_press = 0;
constexpr int right_press = 2;
constexpr int pressed = 0;
constexpr int released = 1;

// The field plots' layers: the cycle's unnamed one, then "layer 1" and "layer 2",
// each of the named ones with one plot in its own half of the window.
class FieldLayers : public ZarIdor {
  public:
    void compose_figure() override {
        layer("layer 1");
        subplot(2, 1, 1);
        plot({0, 1, 2}, {1, 0, 1});
        layer("layer 2");
        subplot(2, 1, 2);
        plot({0, 1, 2}, {0, 1, 0});
    }
};

class Layers : public testsupport::GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        testsupport::size_like_window(picture);
        picture.display_cycle();
    }

    Capture capture_list() {
        return testsupport::capture_feedback([&] { internals(picture).display_layer_list(); });
    }

    std::vector<int> visibility() const {
        std::vector<int> flags;
        for (const Layer& layer : internals(picture).layer_list)
            flags.push_back(layer.visible);
        return flags;
    }

    FieldLayers picture;
};

// Feedback y grows upwards; the list is laid out in pixel rows from the top.
float from_top(float pixel_row) { return testsupport::window_height - pixel_row; }

void expect_at(const testsupport::FeedbackVertex& v, float x, float pixel_row) {
    EXPECT_NEAR(v.x, x, tolerance);
    EXPECT_NEAR(v.y, from_top(pixel_row), tolerance);
}

TEST_F(Layers, ListShowsOnlyWhileThePointerIsInTheLeftStrip) {
    EXPECT_EQ(picture.pointer_x, 100);
    EXPECT_TRUE(capture_list().primitives.empty());
    picture.pointer_x = 25;
    EXPECT_TRUE(capture_list().primitives.empty());
    picture.pointer_x = 24;
    EXPECT_FALSE(capture_list().primitives.empty());
}

TEST_F(Layers, RowsHoldABoxACheckMarkAndTheName) {
    picture.pointer_x = in_strip;
    const Capture drawn = capture_list();
    const auto segments = drawn.of_kind(PrimitiveKind::line);
    ASSERT_EQ(segments.size(), 3u * 6u); // four box sides and two tick strokes per row
    for (int row = 0; row < 3; ++row) {
        const float top = 3.0f + 20.0f * static_cast<float>(row);
        const auto& box_side = segments[static_cast<std::size_t>(row * 6)].vertices;
        expect_at(box_side[0], 4, top);
        expect_at(box_side[1], 4, top + 14);
        const auto& closing_side = segments[static_cast<std::size_t>(row * 6 + 3)].vertices;
        expect_at(closing_side[0], 18, top);
        expect_at(closing_side[1], 4, top);
        const auto& tick = segments[static_cast<std::size_t>(row * 6 + 5)].vertices;
        expect_at(tick[0], 9, top + 12);
        expect_at(tick[1], 16, top + 4);
    }
    for (const Primitive& p : drawn.primitives) {
        const std::array<float, 4> blue{0, 0, 1, 1};
        EXPECT_EQ(p.vertices.at(0).color, blue);
    }

    const auto glyphs = drawn.of_kind(PrimitiveKind::bitmap);
    ASSERT_EQ(glyphs.size(), 14u); // "layer 1" and "layer 2"; the first layer has no name
    expect_at(glyphs[0].vertices[0], 22, 34);
    expect_at(glyphs[7].vertices[0], 22, 54);

    GLfloat width = 0;
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_EQ(width, 2.0f);
    EXPECT_FALSE(glIsEnabled(GL_LINE_STIPPLE));
}

TEST_F(Layers, HiddenLayerKeepsItsBoxWithoutTheCheckMark) {
    picture.pointer_x = in_strip;
    internals(picture).layer_list[1].visible = 0;
    const auto segments = capture_list().of_kind(PrimitiveKind::line);
    ASSERT_EQ(segments.size(), 6u + 4u + 6u);
    expect_at(segments[6].vertices[0], 4, 23);  // the hidden row's box
    expect_at(segments[10].vertices[0], 4, 43); // the next row follows at once
}

TEST_F(Layers, PressesToggleOnlyInsideARowsBox) {
    internals(picture).layer_last_click_time = -1000; // long ago: no press here is a double press
    test_hooks::layer_list_click_at(picture, left_press, pressed, 10, 30, 0);
    EXPECT_EQ(visibility(), (std::vector<int>{1, 0, 1}));

    int now = 1000;
    for (const auto& [x, y] : std::vector<std::pair<int, int>>{
             {10, 20}, {10, 40}, {20, 30}, {1, 30}, {10, 0}, {10, 60}, {10, -5}}) {
        now += 1000;
        test_hooks::layer_list_click_at(picture, left_press, pressed, x, y, now);
    }
    test_hooks::layer_list_click_at(picture, right_press, pressed, 10, 30, now += 1000);
    test_hooks::layer_list_click_at(picture, left_press, released, 10, 30, now += 1000);
    EXPECT_EQ(visibility(), (std::vector<int>{1, 0, 1}));

    test_hooks::layer_list_click_at(picture, left_press, pressed, 2, 21, now += 1000);
    test_hooks::layer_list_click_at(picture, left_press, pressed, 19, 59, now += 1000);
    test_hooks::layer_list_click_at(picture, left_press, pressed, 19, 1, now += 1000);
    EXPECT_EQ(visibility(), (std::vector<int>{0, 1, 0}));
}

TEST_F(Layers, QuickSecondPressShowsThatLayerAlone) {
    test_hooks::layer_list_click_at(picture, left_press, pressed, 10, 50, 10000);
    test_hooks::layer_list_click_at(picture, left_press, pressed, 10, 50, 10030);
    EXPECT_EQ(visibility(), (std::vector<int>{0, 0, 1}));
    EXPECT_EQ(internals(picture).layer_click_time, 10030);
    EXPECT_EQ(internals(picture).layer_last_click_time, 10030);

    internals(picture).layer_list[0].visible = 1;
    test_hooks::layer_list_click_at(picture, left_press, pressed, 10, 50, 20000);
    test_hooks::layer_list_click_at(picture, left_press, pressed, 10, 50, 20200);
    EXPECT_EQ(visibility(), (std::vector<int>{1, 0, 1}));
}

TEST_F(Layers, PressReadsTheElapsedTimeClock) {
    internals(picture).layer_last_click_time = glutGet(GLUT_ELAPSED_TIME) - 1000;
    picture.layer_list_click(left_press, pressed, 10, 30);
    EXPECT_EQ(visibility(), (std::vector<int>{1, 0, 1}));
    EXPECT_NEAR(internals(picture).layer_click_time, glutGet(GLUT_ELAPSED_TIME), 1000);
}

// A hidden layer's axes are skipped by the walk, so nothing is drawn in its half
// of the window, while the visible half still shows its plot.
TEST_F(Layers, HiddenLayersAxesAreNotDrawn) {
    const auto count_in_lower_half = [](const Capture& drawn) {
        int count = 0;
        for (const Primitive& p : drawn.primitives)
            for (const auto& v : p.vertices)
                if (v.y < testsupport::window_height / 2.0f) ++count;
        return count;
    };
    const auto frame = [&] {
        return testsupport::capture_feedback([&] { picture.display_cycle(); });
    };

    EXPECT_GT(count_in_lower_half(frame()), 0);
    EXPECT_EQ(internals(picture).current_axes.get(), &internals(picture).axes_list[5]);

    internals(picture).layer_list[2].visible = 0;
    const Capture hidden = frame();
    EXPECT_EQ(count_in_lower_half(hidden), 0);
    EXPECT_GT(hidden.count(PrimitiveKind::line), 0u);
    EXPECT_EQ(internals(picture).current_axes.get(),
              &internals(picture).axes_list[3]); // the walk stopped there
}

// The window shows what the back buffer held, even when the figure drew nothing:
// the buffers are swapped regardless.
TEST_F(Layers, InvisibleFigureDrawsNothingButStillSwaps) {
    picture.pointer_x = in_strip;
    internals(picture).figure_list[0].visible = 0;
    EXPECT_TRUE(testsupport::capture_feedback([&] {
                    internals(picture).display_figure();
                }).primitives.empty());

    for (const std::array<float, 3> colour : {std::array<float, 3>{1, 0, 0}, {0, 1, 0}}) {
        glClearColor(colour[0], colour[1], colour[2], 1);
        glClear(GL_COLOR_BUFFER_BIT);
        internals(picture).display_figure();
        EXPECT_EQ(testsupport::window_pixel_lit(testsupport::window_width / 2,
                                                testsupport::window_height / 2),
                  (std::array<bool, 3>{colour[0] != 0, colour[1] != 0, false}));
    }
}

TEST_F(Layers, ExportCarriesListWidthAndNames) {
    picture.pointer_x = in_strip;
    char* text = nullptr;
    std::size_t size = 0;
    std::FILE* stream = open_memstream(&text, &size);
    ASSERT_NE(stream, nullptr);
    GLint viewport[4] = {0, 0, testsupport::window_width, testsupport::window_height};
    gl2psBeginPage("layers", "test", viewport, GL2PS_EPS, GL2PS_SIMPLE_SORT, GL2PS_NONE, GL_RGBA, 0,
                   nullptr, 0, 0, 0, 1 << 20, stream, "layers.eps");
    internals(picture).display_layer_list();
    EXPECT_EQ(gl2psEndPage(), GL2PS_SUCCESS);
    std::fclose(stream);
    const std::string eps(text, size);
    std::free(text);

    EXPECT_NE(eps.find("2 W"), std::string::npos);
    EXPECT_NE(eps.find("(layer 1) 22 366 12 /Arial S"), std::string::npos);
    EXPECT_NE(eps.find("(layer 2) 22 346 12 /Arial S"), std::string::npos);
}

} // namespace
} // namespace rizodozad
