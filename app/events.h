// What the window system's callbacks do, as plain functions of the application object,
// so that the program and its tests drive the same code.
#pragma once

#include "app/fdtd.h"

void handle_display(FDTD& app);
void handle_reshape(FDTD& app, int width, int height);
// One step (a no-op while paused) and a redraw request until the step limit is passed;
// then a short sleep in every case, which paces the run.
void handle_idle(FDTD& app);
void handle_mouse(FDTD& app, int button, int state, int x, int y);
void handle_motion(FDTD& app, int x, int y);
void handle_passive_motion(FDTD& app, int x, int y);
void handle_keyboard(FDTD& app, unsigned char key, int x, int y);
