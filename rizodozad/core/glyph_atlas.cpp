#include "rizodozad/core/glyph_atlas.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace rizodozad {

namespace {

//-----------------------------------------------------------------------------
// [SECTION] Layout of the scratch area and the texture
//-----------------------------------------------------------------------------

void* const font = GLUT_BITMAP_HELVETICA_12;
constexpr int glyph_count = 256;
constexpr int cells_per_row = 16;
constexpr int cell_width = 20; // pixels; wider than any glyph of the font with its margins
constexpr int cell_height = 24;
constexpr int pen_x = 4; // the pen's place in its cell, leaving room for descenders
constexpr int pen_y = 6;
constexpr int scratch_width = cells_per_row * cell_width;
constexpr int scratch_height = (glyph_count / cells_per_row) * cell_height;
constexpr int texture_size = 512; // a power of two holding the scratch area
constexpr GLubyte lit_threshold = 128;
// The rasteriser places a bitmap at floor(raster position + this - origin); the quads
// must round the same way to land on the same pixels.
constexpr GLfloat bitmap_rounding = 0.0001f;

int window_width() { return glutGet(GLUT_WINDOW_WIDTH); }
int window_height() { return glutGet(GLUT_WINDOW_HEIGHT); }

//-----------------------------------------------------------------------------
// [SECTION] Rendering the glyphs once
//-----------------------------------------------------------------------------

std::vector<GLubyte> read_scratch(GLenum format, int channels) {
    std::vector<GLubyte> pixels(static_cast<std::size_t>(scratch_width) * scratch_height *
                                channels);
    glReadPixels(0, 0, scratch_width, scratch_height, format, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// State in which bitmaps and pixel rectangles write plain colour into the scratch area.
void use_plain_pixel_state() {
    for (GLenum capability :
         {GL_DEPTH_TEST, GL_STENCIL_TEST, GL_SCISSOR_TEST, GL_BLEND, GL_ALPHA_TEST, GL_TEXTURE_2D,
          GL_LIGHTING, GL_FOG, GL_COLOR_LOGIC_OP, GL_DITHER})
        glDisable(capability);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    GLint draw_buffer = GL_BACK;
    glGetIntegerv(GL_DRAW_BUFFER, &draw_buffer);
    glReadBuffer(static_cast<GLenum>(draw_buffer));
    glViewport(0, 0, scratch_width, scratch_height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glOrtho(0, scratch_width, 0, scratch_height, -1, 1);
}

// The glyphs in white on black, each with its pen at (pen_x, pen_y) of its cell; the
// scratch area's picture is put back afterwards.
std::vector<GLubyte> render_glyphs() {
    const std::vector<GLubyte> saved = read_scratch(GL_RGBA, 4);
    glClearColor(0, 0, 0, 0);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, scratch_width, scratch_height);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    glColor3f(1, 1, 1);
    for (int c = 1; c < glyph_count; ++c) {
        glRasterPos2i((c % cells_per_row) * cell_width + pen_x,
                      (c / cells_per_row) * cell_height + pen_y);
        glutBitmapCharacter(font, c);
    }
    std::vector<GLubyte> coverage = read_scratch(GL_RED, 1);
    glRasterPos2i(0, 0);
    glDrawPixels(scratch_width, scratch_height, GL_RGBA, GL_UNSIGNED_BYTE, saved.data());
    return coverage;
}

// The tight box of a glyph's lit pixels in its cell; false when it touches the cell's edge.
bool measure_glyph(const std::vector<GLubyte>& coverage, int c, GlyphAtlas::Glyph& glyph) {
    const int cell_x = (c % cells_per_row) * cell_width;
    const int cell_y = (c / cells_per_row) * cell_height;
    int low_x = cell_width, low_y = cell_height, high_x = -1, high_y = -1;
    for (int y = 0; y < cell_height; ++y) {
        for (int x = 0; x < cell_width; ++x) {
            if (coverage[(cell_y + y) * scratch_width + cell_x + x] < lit_threshold) continue;
            low_x = std::min(low_x, x);
            high_x = std::max(high_x, x);
            low_y = std::min(low_y, y);
            high_y = std::max(high_y, y);
        }
    }
    glyph.advance = glutBitmapWidth(font, c);
    if (high_x < 0) return true; // a glyph without pixels only advances
    glyph = {low_x - pen_x,  low_y - pen_y,  high_x - low_x + 1, high_y - low_y + 1,
             cell_x + low_x, cell_y + low_y, glyph.advance};
    return low_x > 0 && low_y > 0 && high_x < cell_width - 1 && high_y < cell_height - 1;
}

GLuint make_texture(const std::vector<GLubyte>& coverage) {
    std::vector<GLubyte> alpha(static_cast<std::size_t>(texture_size) * texture_size, 0);
    for (int y = 0; y < scratch_height; ++y)
        for (int x = 0; x < scratch_width; ++x)
            alpha[y * texture_size + x] =
                coverage[y * scratch_width + x] >= lit_threshold ? 255 : 0;
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, texture_size, texture_size, 0, GL_ALPHA,
                 GL_UNSIGNED_BYTE, alpha.data());
    return texture;
}

} // namespace

//-----------------------------------------------------------------------------
// [SECTION] The atlas
//-----------------------------------------------------------------------------

GlyphAtlas::~GlyphAtlas() {
    if (texture_ != 0) glDeleteTextures(1, &texture_);
}

bool GlyphAtlas::build() {
    if (window_width() < scratch_width || window_height() < scratch_height) return false;
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    use_plain_pixel_state();
    const std::vector<GLubyte> coverage = render_glyphs();
    bool fits = true;
    for (int c = 1; c < glyph_count; ++c)
        fits = measure_glyph(coverage, c, glyphs_[c]) && fits;
    if (fits) texture_ = make_texture(coverage);
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, quad_viewport_.data());
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopClientAttrib();
    glPopAttrib();
    built_ = fits;
    return fits;
}

bool GlyphAtlas::draw(const std::string& text) {
    GLboolean valid = GL_FALSE;
    glGetBooleanv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
    if (!valid) return true; // bitmaps from an invalid raster position draw nothing either
    if (!built_ && !build()) return false;

    GLfloat raster[4];
    GLfloat color[4];
    glGetFloatv(GL_CURRENT_RASTER_POSITION, raster);
    glGetFloatv(GL_CURRENT_RASTER_COLOR, color);

    glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT | GL_COLOR_BUFFER_BIT | GL_VIEWPORT_BIT |
                 GL_TRANSFORM_BIT | GL_CURRENT_BIT | GL_POLYGON_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, quad_viewport_[0], 0, quad_viewport_[1], -1, 1);
    glViewport(0, 0, quad_viewport_[0], quad_viewport_[1]);
    for (GLenum capability : {GL_LIGHTING, GL_CULL_FACE, GL_POLYGON_SMOOTH, GL_POLYGON_STIPPLE,
                              GL_POLYGON_OFFSET_FILL, GL_FOG, GL_TEXTURE_1D})
        glDisable(capability);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.5f);
    glColor4fv(color);
    draw_quads(text, raster);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib(); // the raster position too: move it as the characters would have

    GLfloat advance = 0;
    for (unsigned char c : text)
        advance += static_cast<GLfloat>(glyphs_[c].advance);
    glBitmap(0, 0, 0, 0, advance, 0, nullptr);
    return true;
}

// One quad per glyph with pixels, at the raster position's depth, the pen moving in the
// same floating-point steps as the raster position would.
void GlyphAtlas::draw_quads(const std::string& text, const GLfloat raster[4]) const {
    constexpr GLfloat texel = 1.0f / texture_size;
    const GLfloat depth = 1 - 2 * raster[2]; // the ortho above maps this back onto raster[2]
    const GLfloat pen_y = std::floor(raster[1] + bitmap_rounding);
    GLfloat pen_x = raster[0];
    glBegin(GL_QUADS);
    for (unsigned char c : text) {
        const Glyph& g = glyphs_[c];
        if (g.width > 0) {
            const GLfloat x0 = std::floor(pen_x + bitmap_rounding) + g.left;
            const GLfloat y0 = pen_y + g.bottom;
            const GLfloat x1 = x0 + g.width;
            const GLfloat y1 = y0 + g.height;
            const GLfloat u0 = g.texture_x * texel, u1 = (g.texture_x + g.width) * texel;
            const GLfloat v0 = g.texture_y * texel, v1 = (g.texture_y + g.height) * texel;
            glTexCoord2f(u0, v0);
            glVertex3f(x0, y0, depth);
            glTexCoord2f(u1, v0);
            glVertex3f(x1, y0, depth);
            glTexCoord2f(u1, v1);
            glVertex3f(x1, y1, depth);
            glTexCoord2f(u0, v1);
            glVertex3f(x0, y1, depth);
        }
        pen_x += static_cast<GLfloat>(g.advance);
    }
    glEnd();
}

void draw_bitmap_string(const std::string& text) {
    for (unsigned char c : text)
        glutBitmapCharacter(font, c);
}

} // namespace rizodozad
