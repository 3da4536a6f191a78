// The part of freeglut's interface the engine and the view use, for Emscripten's GLUT,
// which is classic GLUT: the extras are declared here and done in freeglut_web.cpp.
#pragma once

#include <GL/freeglut_std.h>

#define GLUT_ACTION_ON_WINDOW_CLOSE 0x01F9
#define GLUT_ACTION_GLUTMAINLOOP_RETURNS 1

#ifdef __cplusplus
extern "C" {
#endif

// The browser runs the event loop itself: there is nothing to pump.
void glutMainLoopEvent(void);
void glutLeaveMainLoop(void);
void glutSetOption(GLenum what, int value);

#ifdef __cplusplus
}
#endif
