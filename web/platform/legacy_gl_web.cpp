// What the browser's emulation of fixed-function OpenGL leaves out of the calls the
// engine makes: vertices in double precision, which it takes as single, and the client
// attribute stack, which only guards vertex arrays drawn in feedback mode, a mode the
// browser does not have.
#include <GL/gl.h>

extern "C" {

void glVertex3d(GLdouble x, GLdouble y, GLdouble z) {
    glVertex3f(static_cast<GLfloat>(x), static_cast<GLfloat>(y), static_cast<GLfloat>(z));
}

void glPushClientAttrib(GLbitfield) {}
void glPopClientAttrib() {}

} // extern "C"
