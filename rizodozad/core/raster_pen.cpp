#include "rizodozad/core/raster_pen.h"

#include <GL/gl.h>

#include <array>

#include "rizodozad/core/glyph_data.h"

// The browser's OpenGL has no raster position and no bitmaps.
#if defined(__EMSCRIPTEN__)
#define RIZODOZAD_RASTER_BITMAPS 0
#else
#define RIZODOZAD_RASTER_BITMAPS 1
#endif

namespace rizodozad::raster_pen {

namespace {

using Vector = std::array<float, 4>;

// m is column-major, as OpenGL returns it.
Vector times(const std::array<float, 16>& m, const Vector& v) {
    Vector out{};
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            out[row] += m[col * 4 + row] * v[col];
    return out;
}

bool inside_view_volume(const Vector& clip) {
    const float w = clip[3];
    if (!(w > 0)) return false;
    for (int axis = 0; axis < 3; ++axis)
        if (!(clip[axis] >= -w && clip[axis] <= w)) return false;
    return true;
}

} // namespace

std::optional<Pen> projected(float x, float y, float z, float shift_x_px, float shift_y_px) {
    std::array<float, 16> modelview{}, projection{};
    std::array<GLint, 4> viewport{};
    std::array<GLfloat, 2> depth_range{};
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview.data());
    glGetFloatv(GL_PROJECTION_MATRIX, projection.data());
    glGetIntegerv(GL_VIEWPORT, viewport.data());
    glGetFloatv(GL_DEPTH_RANGE, depth_range.data());
    const Vector clip = times(projection, times(modelview, {x, y, z, 1}));
    if (!inside_view_volume(clip)) return std::nullopt;
    const float w = clip[3];
    const float window_x = viewport[0] + (clip[0] / w + 1) * viewport[2] / 2;
    const float window_y = viewport[1] + (clip[1] / w + 1) * viewport[3] / 2;
    const float depth = depth_range[0] + (clip[2] / w + 1) * (depth_range[1] - depth_range[0]) / 2;
    return Pen{window_x + shift_x_px, window_y + shift_y_px, depth};
}

#if RIZODOZAD_RASTER_BITMAPS

std::optional<Pen> place(float x, float y, float z, float shift_x_px, float shift_y_px) {
    glRasterPos3f(x, y, z);
    if (shift_x_px != 0 || shift_y_px != 0) glBitmap(0, 0, 0, 0, shift_x_px, shift_y_px, nullptr);
    GLboolean valid = GL_FALSE;
    glGetBooleanv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
    if (!valid) return std::nullopt;
    GLfloat raster[4];
    glGetFloatv(GL_CURRENT_RASTER_POSITION, raster);
    return Pen{raster[0], raster[1], raster[2]};
}

void advance(float advance_px) { glBitmap(0, 0, 0, 0, advance_px, 0, nullptr); }

void draw_bitmaps(const std::string& text, float scale) {
    const glyph_data::BitmapFont& font = glyph_data::helvetica_12;
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_SWAP_BYTES, GL_FALSE);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (unsigned char c : text) {
        const int width = font.width[c];
        glBitmap(width, font.height, font.origin_x, font.origin_y,
                 static_cast<GLfloat>(width * scale), 0, font.bits + font.offset[c]);
    }
    glPopClientAttrib();
}

#else

std::optional<Pen> place(float x, float y, float z, float shift_x_px, float shift_y_px) {
    return projected(x, y, z, shift_x_px, shift_y_px);
}

void advance(float) {}

void draw_bitmaps(const std::string&, float) {}

#endif

} // namespace rizodozad::raster_pen
