// Strings drawn from the glyph texture against the same strings drawn with
// glutBitmapCharacter: read back from the real window, the pixels must be the same.
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rizodozad/core/draw.h"
#include "rizodozad/core/glyph_atlas.h"
#include "tests/support/feedback.h"
#include "tests/support/gl_fixture.h"

namespace {

using testsupport::window_height;
using testsupport::window_width;

std::vector<GLubyte> window_pixels() {
    std::vector<GLubyte> pixels(static_cast<std::size_t>(window_width) * window_height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, window_width, window_height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

struct Drawn {
    std::vector<GLubyte> pixels;
    GLfloat raster_after[4];
};

// Draws text at window position (x, y) in red, on white, in the unit square of the window,
// with either the bitmap characters or the atlas.
Drawn draw_at(float x, float y, const std::string& text, rizodozad::GlyphAtlas* atlas) {
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glViewport(0, 0, window_width, window_height);
    glLoadIdentity();
    gluOrtho2D(0, 1, 0, 1);
    glColor3f(1, 0, 0);
    glRasterPos2f(x / window_width, y / window_height);
    if (atlas == nullptr)
        rizodozad::draw_bitmap_string(text);
    else
        EXPECT_TRUE(atlas->draw(text));
    Drawn drawn{window_pixels(), {}};
    glGetFloatv(GL_CURRENT_RASTER_POSITION, drawn.raster_after);
    return drawn;
}

std::string every_byte() {
    std::string text;
    for (int c = 1; c < 256; ++c)
        text.push_back(static_cast<char>(c));
    return text;
}

class GlyphAtlasTest : public testsupport::GlTest {
  protected:
    rizodozad::GlyphAtlas atlas;
};

// Whole and fractional pen positions, a string running off the right edge, digits and
// signs as tick labels show them, and every byte (those the font lacks included).
TEST_F(GlyphAtlasTest, SamePixelsAsBitmapCharacters) {
    struct Case {
        float x, y;
        std::string text;
    };
    const std::vector<Case> cases{{100, 200, "Ez in space -0.5 1e+06"},
                                  {100.3f, 200.7f, "Hz in space"},
                                  {37.99995f, 11.5f, "Mouse:(12.500000,-0.250000)"},
                                  {750, 380, "runs off the right edge"},
                                  {2, 3, every_byte().substr(0, 120)},
                                  {5.5f, 100.25f, every_byte().substr(120)}};
    for (const Case& c : cases) {
        const Drawn expected = draw_at(c.x, c.y, c.text, nullptr);
        const Drawn drawn = draw_at(c.x, c.y, c.text, &atlas);
        EXPECT_TRUE(drawn.pixels == expected.pixels) << c.text;
        EXPECT_FLOAT_EQ(drawn.raster_after[0], expected.raster_after[0]) << c.text;
        EXPECT_FLOAT_EQ(drawn.raster_after[1], expected.raster_after[1]) << c.text;
    }
}

TEST_F(GlyphAtlasTest, StartOutsideTheWindowDrawsNothing) {
    const Drawn blank = draw_at(-50, 200, "", nullptr);
    EXPECT_TRUE(draw_at(-50, 200, "left of the window", &atlas).pixels == blank.pixels);
    EXPECT_TRUE(draw_at(400, 450, "above the window", &atlas).pixels == blank.pixels);
}

// The renderers' text routine: anchors in a 3D view behind a depth-tested square and
// shifted by pixels, drawn with and without the atlas in force.
std::vector<GLubyte> routine_pixels(rizodozad::GlyphAtlas* atlas) {
    const rizodozad::draw::ScreenGlyphs glyphs(atlas);
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glLoadIdentity();
    gluPerspective(40, 2, 1, 10);
    gluLookAt(0, -3, 2, 0, 0, 0, 0, 0, 1);
    rizodozad::draw::set_colour({0.2f, 0.6f, 0.2f});
    glBegin(GL_QUADS); // hides the lower part of the second text
    glVertex3f(-0.2f, 0, -0.2f);
    glVertex3f(0.8f, 0, -0.2f);
    glVertex3f(0.8f, 0, 0.05f);
    glVertex3f(-0.2f, 0, 0.05f);
    glEnd();
    rizodozad::draw::text({-0.5f, 0.3f, 0.4f, -12.5f, 3}, "z axis 1e-3", {0, 0, 1});
    rizodozad::draw::text({0, 0.4f, 0}, "behind the square");
    rizodozad::draw::text({0.1f, -0.4f, 0}, "before it");
    glDisable(GL_DEPTH_TEST);
    return window_pixels();
}

TEST_F(GlyphAtlasTest, RenderersTextLooksTheSameOnScreen) {
    const std::vector<GLubyte> bitmaps = routine_pixels(nullptr);
    EXPECT_TRUE(routine_pixels(&atlas) == bitmaps);
}

// Captures (GL2PS's among them) still see one bitmap per character where it is drawn.
TEST_F(GlyphAtlasTest, FeedbackSeesBitmapCharacters) {
    const rizodozad::draw::ScreenGlyphs glyphs(&atlas);
    gluOrtho2D(0, 1, 0, 1);
    const auto capture = testsupport::capture_feedback([] {
        rizodozad::draw::text({0.25f, 0.5f, 0}, "tick 0.5");
    });
    const auto bitmaps = capture.of_kind(testsupport::PrimitiveKind::bitmap);
    ASSERT_EQ(bitmaps.size(), 8u);
    EXPECT_NEAR(bitmaps[0].vertices[0].x, 200, 0.01);
    EXPECT_NEAR(bitmaps[0].vertices[0].y, 200, 0.01);
}

} // namespace
