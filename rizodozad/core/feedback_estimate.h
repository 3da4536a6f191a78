// How many feedback values GL2PS needs to capture one display cycle of a picture, so
// that an export's buffer is sized from the picture and one attempt suffices.
// Plain arithmetic over the records: no OpenGL here.
#pragma once

#include <cstddef>

#include "rizodozad/core/engine.h"

namespace rizodozad::eps {

// A generous count: every line at its reduced length for export, every marker as its
// largest shape, every surface cell filled and outlined, every patch corner.
std::size_t feedback_floats_needed(const Engine& engine);

} // namespace rizodozad::eps
