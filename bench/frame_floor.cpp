#include "bench/frame_floor.h"

#include <GL/freeglut.h>

namespace benchsupport {

namespace {

constexpr int feedback_floats = 1 << 22;
constexpr int floats_per_vertex = 3; // GL_3D
// The floor's glyph: one character cell of the 12-pixel font, as a luminance-alpha texture.
constexpr int glyph_width = 7;
constexpr int glyph_height = 12;
constexpr int glyph_texture_size = 16;

} // namespace

// Records the engine's frame through feedback mode.
FrameContents capture_frame_contents(rizodozad::ZarIdor& engine) {
    std::vector<GLfloat> buffer(feedback_floats);
    glFeedbackBuffer(feedback_floats, GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    engine.display_cycle();
    const GLint used = glRenderMode(GL_RENDER);
    FrameContents frame;
    for (GLint i = 0; i < used;) {
        const auto token = static_cast<GLenum>(buffer[i++]);
        if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            frame.segments.insert(frame.segments.end(),
                                  {buffer[i], buffer[i + 1], buffer[i + 3], buffer[i + 4]});
            i += 2 * floats_per_vertex;
        } else if (token == GL_BITMAP_TOKEN) {
            frame.characters.insert(frame.characters.end(), {buffer[i], buffer[i + 1]});
            i += floats_per_vertex;
        } else if (token == GL_POINT_TOKEN || token == GL_DRAW_PIXEL_TOKEN ||
                   token == GL_COPY_PIXEL_TOKEN) {
            i += floats_per_vertex;
        } else if (token == GL_POLYGON_TOKEN) {
            i += 1 + static_cast<GLint>(buffer[i]) * floats_per_vertex;
        } else if (token == GL_PASS_THROUGH_TOKEN) {
            i += 1;
        } else {
            break;
        }
    }
    return frame;
}

// A texture holding a box-shaped glyph: what it shows does not change the cost of a quad.
GLuint make_glyph_texture() {
    std::vector<GLubyte> alpha(glyph_texture_size * glyph_texture_size, 0);
    for (int row = 1; row < glyph_height - 1; ++row)
        for (int column = 1; column < glyph_width - 1; ++column)
            alpha[row * glyph_texture_size + column] = 255;
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, glyph_texture_size, glyph_texture_size, 0, GL_ALPHA,
                 GL_UNSIGNED_BYTE, alpha.data());
    return texture;
}

GlyphQuads glyph_quads(const FrameContents& frame) {
    constexpr GLfloat u = static_cast<GLfloat>(glyph_width) / glyph_texture_size;
    constexpr GLfloat v = static_cast<GLfloat>(glyph_height) / glyph_texture_size;
    GlyphQuads quads;
    for (std::size_t i = 0; i + 1 < frame.characters.size(); i += 2) {
        const GLfloat x = frame.characters[i];
        const GLfloat y = frame.characters[i + 1];
        quads.corners.insert(quads.corners.end(), {x, y, x + glyph_width, y, x + glyph_width,
                                                   y + glyph_height, x, y + glyph_height});
        quads.texture_coordinates.insert(quads.texture_coordinates.end(), {0, 0, u, 0, u, v, 0, v});
    }
    return quads;
}

// No depth buffer and no stipple: the picture needs neither.
void draw_true_floor(const FrameContents& frame, const GlyphQuads& quads, GLuint texture, int width,
                     int height) {
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LINE_STIPPLE);
    glLineWidth(1);
    glClearColor(1, 1, 1, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glViewport(0, 0, width, height);
    glLoadIdentity();
    glOrtho(0, width, 0, height, -1, 1);
    glColor3f(0, 0, 0);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, frame.segments.data());
    glDrawArrays(GL_LINES, 0, static_cast<GLsizei>(frame.segments.size() / 2));

    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.5f);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, quads.corners.data());
    glTexCoordPointer(2, GL_FLOAT, 0, quads.texture_coordinates.data());
    glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(quads.corners.size() / 2));
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_TEXTURE_2D);
    glFlush();
    glutSwapBuffers();
}

} // namespace benchsupport
