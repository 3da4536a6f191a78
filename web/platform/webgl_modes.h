// Included before every file of the web build. WebGL draws no GL_POLYGON, and the emulation
// of immediate mode refuses it; the engine's polygons are convex, which a triangle fan over
// the same vertices fills alike.
#pragma once

#include <GL/gl.h>

#undef GL_POLYGON
#define GL_POLYGON GL_TRIANGLE_FAN
