// Named colours and colormaps: pure functions, no OpenGL.
#pragma once

#include <string>

#include "rizodozad/records.h"
#include "rizodozad/vocabulary.h"

namespace rizodozad {

constexpr int colormap_size = 64;

// Whether spec is one of the 29 colour names ("k", "r", "b", ... "ubr").
bool is_color_name(const std::string& spec);

// The colour of one of the 29 colour names; black for any other string.
Rgb color_to_rgb(std::string spec);

// The colour at t (clamped to 0..1) of a named colormap; black for an unknown name.
Rgb colormap_color(std::string name, float t);

// colormap_size entries of the named map, from t = 0 to t = 1.
Colormap build_colormap(const std::string& name);

} // namespace rizodozad
