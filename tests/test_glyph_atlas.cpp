// The glyphs the program carries against the font library's own: advances equal to
// glutBitmapWidth, and strings drawn from the glyph texture or the carried bitmaps read
// back from the real window pixel for pixel the same as glutBitmapCharacter draws them.
// Magnified text repeats each font pixel as a block, and the pen worked out from the
// matrices (the browser's way) agrees with OpenGL's raster position.
#include <GL/freeglut.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "rizodozad/core/draw.h"
#include "rizodozad/core/font_metrics.h"
#include "rizodozad/core/glyph_atlas.h"
#include "rizodozad/core/glyph_data.h"
#include "rizodozad/core/raster_pen.h"
#include "tests/support/feedback.h"
#include "tests/support/gl_fixture.h"

namespace {

using testsupport::window_height;
using testsupport::window_width;

void* const library_font = GLUT_BITMAP_HELVETICA_12;

std::vector<GLubyte> window_pixels() {
    std::vector<GLubyte> pixels(static_cast<std::size_t>(window_width) * window_height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, window_width, window_height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// A pixel drawn red on the white background.
bool inked(const std::vector<GLubyte>& pixels, int x, int y) {
    return pixels[(static_cast<std::size_t>(y) * window_width + x) * 3 + 1] < 128;
}

struct Drawn {
    std::vector<GLubyte> pixels;
    GLfloat raster_after[4];
};

enum class Way { library, carried_bitmaps, atlas };

// Draws text at window position (x, y) in red, on white, in the unit square of the window.
Drawn draw_at(float x, float y, const std::string& text, Way way, float scale = 1) {
    static rizodozad::GlyphAtlas& atlas = *new rizodozad::GlyphAtlas; // lives as the window does
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glViewport(0, 0, window_width, window_height);
    glLoadIdentity();
    gluOrtho2D(0, 1, 0, 1);
    glColor3f(1, 0, 0);
    const auto pen = rizodozad::raster_pen::place(x / window_width, y / window_height, 0, 0, 0);
    if (way == Way::library)
        for (unsigned char c : text)
            glutBitmapCharacter(library_font, c);
    if (way == Way::carried_bitmaps) rizodozad::raster_pen::draw_bitmaps(text, scale);
    if (way == Way::atlas && pen) {
        atlas.draw(text, *pen, scale);
        rizodozad::raster_pen::advance(static_cast<float>(rizodozad::font::width_px(text)));
    }
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

class GlyphAtlasTest : public testsupport::GlTest {};

TEST_F(GlyphAtlasTest, CarriedAdvancesAreTheLibrarysOwn) {
    for (int c = 1; c < rizodozad::glyph_data::glyph_count; ++c) {
        EXPECT_EQ(rizodozad::glyph_data::helvetica_12.width[c], glutBitmapWidth(library_font, c))
            << "code " << c;
        EXPECT_EQ(rizodozad::font::char_px(static_cast<unsigned char>(c)),
                  glutBitmapWidth(library_font, c))
            << "code " << c;
    }
}

// Whole and fractional pen positions, a string running off the right edge, digits and
// signs as tick labels show them, and every byte (those the font lacks included).
TEST_F(GlyphAtlasTest, SamePixelsAsTheLibrarysBitmapCharacters) {
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
        const Drawn expected = draw_at(c.x, c.y, c.text, Way::library);
        for (Way way : {Way::carried_bitmaps, Way::atlas}) {
            const Drawn drawn = draw_at(c.x, c.y, c.text, way);
            EXPECT_TRUE(drawn.pixels == expected.pixels) << c.text;
            EXPECT_FLOAT_EQ(drawn.raster_after[0], expected.raster_after[0]) << c.text;
            EXPECT_FLOAT_EQ(drawn.raster_after[1], expected.raster_after[1]) << c.text;
        }
    }
}

// At scale 2 every pixel of the text at scale 1 becomes a 2x2 block from the same pen.
TEST_F(GlyphAtlasTest, DoubleScaleRepeatsEachFontPixelAsABlock) {
    constexpr int pen_x = 200, pen_y = 150, scale = 2;
    const std::string text = "Hz 0.5 Wg";
    const Drawn small = draw_at(pen_x, pen_y, text, Way::atlas);
    const Drawn large = draw_at(pen_x, pen_y, text, Way::atlas, scale);
    int lit = 0, mismatches = 0;
    for (int y = pen_y - 20; y < pen_y + 40; ++y)
        for (int x = pen_x - 10; x < pen_x + 200; ++x) {
            const int from_x = pen_x + static_cast<int>(std::floor((x - pen_x) / 2.0));
            const int from_y = pen_y + static_cast<int>(std::floor((y - pen_y) / 2.0));
            lit += inked(large.pixels, x, y);
            mismatches += inked(large.pixels, x, y) != inked(small.pixels, from_x, from_y);
        }
    EXPECT_GT(lit, 100);
    EXPECT_EQ(mismatches, 0);
}

TEST_F(GlyphAtlasTest, StartOutsideTheWindowDrawsNothing) {
    const Drawn blank = draw_at(-50, 200, "", Way::library);
    EXPECT_TRUE(draw_at(-50, 200, "left of the window", Way::atlas).pixels == blank.pixels);
    EXPECT_TRUE(draw_at(400, 450, "above the window", Way::atlas).pixels == blank.pixels);
}

// The renderers' text routine: anchors in a 3D view behind a depth-tested square and
// shifted by pixels, drawn with and without the atlas in force.
void set_3d_view() {
    glLoadIdentity();
    gluPerspective(40, 2, 1, 10);
    gluLookAt(0, -3, 2, 0, 0, 0, 0, 0, 1);
}

std::vector<GLubyte> routine_pixels(rizodozad::GlyphAtlas* atlas) {
    const rizodozad::draw::ScreenGlyphs glyphs(atlas);
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    set_3d_view();
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
    rizodozad::GlyphAtlas atlas;
    const std::vector<GLubyte> bitmaps = routine_pixels(nullptr);
    EXPECT_TRUE(routine_pixels(&atlas) == bitmaps);
}

// The browser's pen, from the matrices alone, where OpenGL puts the raster position:
// in a flat and a perspective view, shifted, and nowhere outside the view.
TEST_F(GlyphAtlasTest, ProjectedPenAgreesWithTheRasterPosition) {
    struct Case {
        bool perspective;
        float x, y, z, shift_x, shift_y;
    };
    const std::vector<Case> cases{
        {false, 0.25f, 0.5f, 0, 0, 0}, {false, 0.1f, 0.9f, 0, -7, 3.5f},
        {false, 1.5f, 0.5f, 0, 0, 0},  {true, -0.5f, 0.3f, 0.4f, -12.5f, 3},
        {true, 0.1f, -0.4f, 0, 0, 0},  {true, 0, 0, 20, 0, 0}};
    for (const Case& c : cases) {
        glViewport(0, 0, window_width, window_height);
        if (c.perspective)
            set_3d_view();
        else
            testsupport::reset_gl_state(), gluOrtho2D(0, 1, 0, 1);
        const auto projected =
            rizodozad::raster_pen::projected(c.x, c.y, c.z, c.shift_x, c.shift_y);
        const auto raster = rizodozad::raster_pen::place(c.x, c.y, c.z, c.shift_x, c.shift_y);
        ASSERT_EQ(projected.has_value(), raster.has_value()) << c.x << ", " << c.y << ", " << c.z;
        if (!raster) continue;
        EXPECT_NEAR(projected->x, raster->x, 1e-3);
        EXPECT_NEAR(projected->y, raster->y, 1e-3);
        EXPECT_NEAR(projected->z, raster->z, 1e-6);
    }
}

// Captures (GL2PS's among them) still see one bitmap per character where it is drawn.
TEST_F(GlyphAtlasTest, FeedbackSeesBitmapCharacters) {
    rizodozad::GlyphAtlas atlas;
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
