// Named colours and colormaps. Plain arithmetic on floats: no OpenGL here.
#include <algorithm>
#include <array>
#include <string>
#include <utility>

#include "rizodozad/core/colors.h"

namespace rizodozad {

namespace {

using vocabulary::named_colors;
using vocabulary::NamedColor;

//-----------------------------------------------------------------------------
// [SECTION] Piecewise colormaps
//-----------------------------------------------------------------------------

// A piece of a piecewise map holds s in [low, high], both ends included. Every piece
// that holds s overwrites the colour, so at a shared end the later piece stands; the
// pieces meet there, so the map stays continuous.
bool in_piece(float s, float low, float high) { return low <= s && s <= high; }

// Jet's halves are taken in double precision and rounded back to a colour channel.
float half_of(float v) { return static_cast<float>(0.5 * static_cast<double>(v)); }
float half_above_half(float v) { return static_cast<float>(0.5 + 0.5 * static_cast<double>(v)); }
float one_minus_half(float v) { return static_cast<float>(1.0 - 0.5 * static_cast<double>(v)); }

constexpr float hsv_scale = 6;
constexpr float jet_scale = 8;
constexpr float hot_scale = 3;

Rgb hsv_color(float s) {
    Rgb rgb{0, 0, 0};
    if (in_piece(s, 0, 1)) rgb = {1, s, 0};
    if (in_piece(s, 1, 2)) rgb = {1 - (s - 1), 1, 0};
    if (in_piece(s, 2, 3)) rgb = {0, 1, s - 2};
    if (in_piece(s, 3, 4)) rgb = {0, 1 - (s - 3), 1};
    if (in_piece(s, 4, 5)) rgb = {s - 4, 0, 1};
    if (in_piece(s, 5, 6)) rgb = {1, 0, 1 - (s - 5)};
    return rgb;
}

Rgb jet_color(float s) {
    Rgb rgb{0, 0, 0};
    if (in_piece(s, 0, 1)) rgb = {0, 0, half_above_half(s)};
    if (in_piece(s, 1, 3)) rgb = {0, half_of(s - 1), 1};
    if (in_piece(s, 3, 5)) rgb = {half_of(s - 3), 1, one_minus_half(s - 3)};
    if (in_piece(s, 5, 7)) rgb = {1, one_minus_half(s - 5), 0};
    if (in_piece(s, 7, 8)) rgb = {one_minus_half(s - 7), 0, 0};
    return rgb;
}

Rgb hot_color(float s) {
    Rgb rgb{0, 0, 0};
    if (in_piece(s, 0, 1)) rgb = {s, 0, 0};
    if (in_piece(s, 1, 2)) rgb = {1, s - 1, 0};
    if (in_piece(s, 2, 3)) rgb = {1, 1, s - 2};
    return rgb;
}

// The maps of t in 0..1, in the order of vocabulary::colormap_names.
Rgb gray(float t) { return {t, t, t}; }
Rgb hsv(float t) { return hsv_color(t * hsv_scale); }
Rgb jet(float t) { return jet_color(t * jet_scale); }
Rgb hot(float t) { return hot_color(t * hot_scale); }
Rgb cool(float t) { return {t, 1 - t, 1}; }
Rgb spring(float t) { return {1, t, 1 - t}; }
Rgb summer(float t) { return {t, 1, 0}; }
Rgb autumn(float t) { return {1, t, 0}; }
Rgb winter(float t) { return {0, t, 1 - t}; }
Rgb bone(float t) { return {t, 0, t}; }

constexpr std::array<Rgb (*)(float), vocabulary::colormap_names.size()> colormap_functions{
    gray, hsv, jet, hot, cool, spring, summer, autumn, winter, bone};

} // namespace

//-----------------------------------------------------------------------------
// [SECTION] Public operations
//-----------------------------------------------------------------------------

bool is_color_name(const std::string& spec) {
    return std::any_of(named_colors.begin(), named_colors.end(),
                       [&](const NamedColor& named) { return spec == named.name; });
}

Rgb color_to_rgb(std::string spec) {
    for (const NamedColor& named : named_colors) {
        if (spec == named.name) return named.rgb;
    }
    return Rgb{0, 0, 0};
}

Rgb colormap_color(std::string name, float t) {
    t = std::min(1.0f, t);
    t = std::max(0.0f, t);
    const auto& names = vocabulary::colormap_names;
    const auto at = std::find(names.begin(), names.end(), name);
    if (at == names.end()) return Rgb{0, 0, 0};
    return colormap_functions[static_cast<std::size_t>(at - names.begin())](t);
}

Colormap build_colormap(const std::string& name) {
    constexpr float last_entry = colormap_size - 1;
    Colormap colormap;
    colormap.reserve(colormap_size);
    for (int i = 0; i < colormap_size; ++i) {
        colormap.push_back(colormap_color(name, static_cast<float>(i) / last_entry));
    }
    return colormap;
}

} // namespace rizodozad
