#include "rizodozad/core/glyph_atlas.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace rizodozad {

namespace {

//-----------------------------------------------------------------------------
// [SECTION] Layout of the texture
//-----------------------------------------------------------------------------

const glyph_data::BitmapFont& font = glyph_data::helvetica_12;
constexpr int cells_per_row = 16;
constexpr int cell_gap = 2; // empty texels between glyphs, so that no sample reaches the next
constexpr GLubyte lit_alpha = 255;
// Texels are white with the glyph's coverage as alpha: modulating keeps the text's colour
// on every OpenGL (the browser's gives alpha-only textures black colour).
constexpr GLubyte texel_luminance = 255;
constexpr int bytes_per_texel = 2; // luminance, then alpha
constexpr int alpha_byte = 1;
// The rasteriser places a bitmap at floor(raster position + this - origin); the quads
// must round the same way to land on the same pixels.
constexpr GLfloat bitmap_rounding = 0.0001f;

int widest_glyph() { return *std::max_element(font.width.begin(), font.width.end()); }

int power_of_two_from(int n) {
    int p = 1;
    while (p < n)
        p *= 2;
    return p;
}

bool any_lit(unsigned char c) {
    for (int y = 0; y < font.height; ++y)
        for (int x = 0; x < font.width[c]; ++x)
            if (glyph_data::lit(font, c, x, y)) return true;
    return false;
}

// Glyph c's bitmap copied into the texture's alpha with its lower left corner at (x0, y0).
void copy_glyph(unsigned char c, int x0, int y0, int texture_width, std::vector<GLubyte>& texels) {
    for (int y = 0; y < font.height; ++y)
        for (int x = 0; x < font.width[c]; ++x) {
            if (!glyph_data::lit(font, c, x, y)) continue;
            const std::size_t texel = static_cast<std::size_t>(y0 + y) * texture_width + x0 + x;
            texels[texel * bytes_per_texel + alpha_byte] = lit_alpha;
        }
}

GLuint make_texture(const std::vector<GLubyte>& texels, const std::array<int, 2>& size) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE_ALPHA, size[0], size[1], 0, GL_LUMINANCE_ALPHA,
                 GL_UNSIGNED_BYTE, texels.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    return texture;
}

//-----------------------------------------------------------------------------
// [SECTION] The state drawing changes
//-----------------------------------------------------------------------------

constexpr std::array<GLenum, 9> changed_capabilities{
    GL_LIGHTING, GL_CULL_FACE,  GL_POLYGON_SMOOTH, GL_POLYGON_STIPPLE, GL_POLYGON_OFFSET_FILL,
    GL_FOG,      GL_TEXTURE_1D, GL_TEXTURE_2D,     GL_ALPHA_TEST};

// What drawing the quads changes, put back when it ends; by hand, since the browser's
// OpenGL has no attribute stack. The texture environment is left modulating, its default.
class SavedState {
  public:
    SavedState() {
        for (std::size_t i = 0; i < changed_capabilities.size(); ++i)
            enabled_[i] = glIsEnabled(changed_capabilities[i]);
        glGetIntegerv(GL_VIEWPORT, viewport_.data());
        glGetIntegerv(GL_MATRIX_MODE, &matrix_mode_);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture_);
        glGetIntegerv(GL_ALPHA_TEST_FUNC, &alpha_function_);
        glGetFloatv(GL_ALPHA_TEST_REF, &alpha_reference_);
        glGetIntegerv(GL_POLYGON_MODE, polygon_mode_.data());
    }
    ~SavedState() {
        for (std::size_t i = 0; i < changed_capabilities.size(); ++i)
            enabled_[i] ? glEnable(changed_capabilities[i]) : glDisable(changed_capabilities[i]);
        glViewport(viewport_[0], viewport_[1], viewport_[2], viewport_[3]);
        glMatrixMode(static_cast<GLenum>(matrix_mode_));
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(texture_));
        glAlphaFunc(static_cast<GLenum>(alpha_function_), alpha_reference_);
        glPolygonMode(GL_FRONT, static_cast<GLenum>(polygon_mode_[0]));
        glPolygonMode(GL_BACK, static_cast<GLenum>(polygon_mode_[1]));
    }
    SavedState(const SavedState&) = delete;
    SavedState& operator=(const SavedState&) = delete;

  private:
    std::array<GLboolean, changed_capabilities.size()> enabled_{};
    std::array<GLint, 4> viewport_{};
    GLint matrix_mode_ = GL_MODELVIEW;
    GLint texture_ = 0;
    GLint alpha_function_ = GL_ALWAYS;
    GLfloat alpha_reference_ = 0;
    std::array<GLint, 2> polygon_mode_{GL_FILL, GL_FILL};
};

} // namespace

//-----------------------------------------------------------------------------
// [SECTION] The atlas
//-----------------------------------------------------------------------------

GlyphAtlas::~GlyphAtlas() {
    if (texture_ != 0) glDeleteTextures(1, &texture_);
}

// Every glyph's whole bitmap in a cell of its own; the pen stands at the bitmap's origin.
void GlyphAtlas::build() {
    const int cell_width = widest_glyph() + cell_gap;
    const int cell_height = font.height + cell_gap;
    const int rows = glyph_data::glyph_count / cells_per_row;
    texture_size_ = {power_of_two_from(cells_per_row * cell_width),
                     power_of_two_from(rows * cell_height)};
    std::vector<GLubyte> texels(
        static_cast<std::size_t>(texture_size_[0]) * texture_size_[1] * bytes_per_texel, 0);
    for (std::size_t i = 0; i < texels.size(); i += bytes_per_texel)
        texels[i] = texel_luminance;
    for (int c = 0; c < glyph_data::glyph_count; ++c) {
        Glyph& g = glyphs_[c];
        g.advance = font.width[c];
        if (!any_lit(static_cast<unsigned char>(c))) continue;
        g = {static_cast<int>(-font.origin_x),
             static_cast<int>(-font.origin_y),
             font.width[c],
             font.height,
             (c % cells_per_row) * cell_width,
             (c / cells_per_row) * cell_height,
             font.width[c]};
        copy_glyph(static_cast<unsigned char>(c), g.texture_x, g.texture_y, texture_size_[0],
                   texels);
    }
    texture_ = make_texture(texels, texture_size_);
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, quad_viewport_.data());
}

void GlyphAtlas::draw(const std::string& text, const raster_pen::Pen& pen, float scale) {
    const SavedState saved;
    if (texture_ == 0) build();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, quad_viewport_[0], 0, quad_viewport_[1], -1, 1);
    glViewport(0, 0, quad_viewport_[0], quad_viewport_[1]);
    for (GLenum capability : changed_capabilities)
        glDisable(capability);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.5f);
    draw_quads(text, pen, scale);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

// One quad per glyph with pixels, at the pen's depth, the pen moving in the same
// floating-point steps as the raster position would. Each font pixel is repeated (nearest
// texels); at whole scales glyphs start on whole pixels as bitmaps do, between them where
// the pen stands, which keeps the gaps between letters even.
void GlyphAtlas::draw_quads(const std::string& text, const raster_pen::Pen& pen,
                            float scale) const {
    const GLfloat texel_u = 1.0f / static_cast<GLfloat>(texture_size_[0]);
    const GLfloat texel_v = 1.0f / static_cast<GLfloat>(texture_size_[1]);
    const GLfloat depth = 1 - 2 * pen.z; // the ortho above maps this back onto pen.z
    const bool whole_scale = scale == std::floor(scale);
    const GLfloat pen_y = std::floor(pen.y + bitmap_rounding);
    GLfloat pen_x = pen.x;
    glBegin(GL_QUADS);
    for (unsigned char c : text) {
        const Glyph& g = glyphs_[c];
        if (g.width > 0) {
            const GLfloat x0 =
                (whole_scale ? std::floor(pen_x + bitmap_rounding) : pen_x) + g.left * scale;
            const GLfloat y0 = pen_y + g.bottom * scale;
            const GLfloat x1 = x0 + g.width * scale;
            const GLfloat y1 = y0 + g.height * scale;
            const GLfloat u0 = g.texture_x * texel_u, u1 = (g.texture_x + g.width) * texel_u;
            const GLfloat v0 = g.texture_y * texel_v, v1 = (g.texture_y + g.height) * texel_v;
            glTexCoord2f(u0, v0);
            glVertex3f(x0, y0, depth);
            glTexCoord2f(u1, v0);
            glVertex3f(x1, y0, depth);
            glTexCoord2f(u1, v1);
            glVertex3f(x1, y1, depth);
            glTexCoord2f(u0, v1);
            glVertex3f(x0, y1, depth);
        }
        pen_x += static_cast<GLfloat>(g.advance) * scale;
    }
    glEnd();
}

} // namespace rizodozad
