// The retry loop of a GL2PS export (EPS, PDF or SVG), with its buffer budget open to tests.
#pragma once

#include <cstdio>

#include "rizodozad/core/engine.h"

namespace rizodozad::eps {

// GL2PS capture buffer: `step` floats more on each attempt, at most `attempts` attempts.
struct BufferBudget {
    int step = 4096576;
    int attempts = 16;
};

// The budget for engine's picture: its first attempt holds the whole picture.
BufferBudget budget_for(const Engine& engine);

// Whether there is a window to draw the picture in; says so on standard error when not.
// Drawing without one would end the process inside freeglut.
bool window_ready(const char* file_name);

// One GL2PS page holding a display cycle of engine, written to stream; false (with a
// reason on standard error) when the page could not be written in full. gl2ps_format
// is GL2PS_EPS, GL2PS_PDF or GL2PS_SVG.
bool export_page(Engine& engine, std::FILE* stream, const char* file_name,
                 const BufferBudget& budget, int gl2ps_format);
bool export_page(Engine& engine, std::FILE* stream, const char* file_name,
                 const BufferBudget& budget); // EPS

} // namespace rizodozad::eps
