// GLUT's bitmap fonts, the raster position and the attribute stacks do not exist in the
// browser: text is not drawn yet, and Helvetica 12's typical advance keeps the layout as
// the desktop's. Goes once the engine draws its text from the glyph data it carries.
#include <GL/freeglut.h>

namespace {
constexpr int helvetica_12_advance_px = 7;
} // namespace

extern "C" {

void* glutBitmapHelvetica12 = nullptr;

void glutBitmapCharacter(void*, int) {}

int glutBitmapWidth(void*, int) { return helvetica_12_advance_px; }

void glBitmap(GLsizei, GLsizei, GLfloat, GLfloat, GLfloat, GLfloat, const GLubyte*) {}
void glRasterPos2i(GLint, GLint) {}
void glRasterPos3f(GLfloat, GLfloat, GLfloat) {}
void glDrawPixels(GLsizei, GLsizei, GLenum, GLenum, const void*) {}
void glPushAttrib(GLbitfield) {}
void glPopAttrib() {}
void glPushClientAttrib(GLbitfield) {}
void glPopClientAttrib() {}

} // extern "C"
