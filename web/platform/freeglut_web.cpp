// freeglut's extras over Emscripten's GLUT, which the browser's event loop makes trivial.
#include <GL/freeglut.h>

extern "C" {

void glutMainLoopEvent() {}

void glutLeaveMainLoop() {}

void glutSetOption(GLenum, int) {}

} // extern "C"
