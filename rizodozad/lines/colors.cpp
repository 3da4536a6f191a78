// Named colours and colormaps. Plain arithmetic on floats: no OpenGL here.
#include <algorithm>
#include <array>
#include <string>
#include <utility>

#include "rizodozad/rizodozad.h"

namespace rizodozad {

namespace {

//-----------------------------------------------------------------------------
// [SECTION] Named colours
//-----------------------------------------------------------------------------

struct NamedColor {
    const char* name;
    Rgb rgb;
};

constexpr float dark = 0.6f;  // the "d" variants use this instead of full intensity
constexpr float light = 0.5f; // the "l" variants use this instead of none

constexpr std::array<NamedColor, 29> named_colors{{
    {"k", {0, 0, 0}},           {"r", {1, 0, 0}},
    {"b", {0, 0, 1}},           {"g", {0, 1, 0}},
    {"c", {0, 1, 1}},           {"m", {1, 0, 1}},
    {"y", {1, 1, 0}},           {"w", {1, 1, 1}},
    {"dr", {dark, 0, 0}},       {"db", {0, 0, dark}},
    {"dg", {0, dark, 0}},       {"dc", {0, dark, dark}},
    {"dm", {dark, 0, dark}},    {"dy", {dark, dark, 0}},
    {"lr", {1, light, light}},  {"lb", {light, light, 1}},
    {"lg", {light, 1, light}},  {"lc", {light, 1, 1}},
    {"lm", {1, light, 1}},      {"ly", {1, 1, light}},
    {"ur", {1, 0.2f, 0}},       {"ub", {0, 0.25f, 1}},
    {"ug", {0.2f, 0.6f, 0.4f}}, {"uy", {1, 1, 1}}, // white, the same as "w"
    {"uc", {0.4f, 0.8f, 1}},    {"up", {1, 0.6f, 0.6f}},
    {"uo", {1, 0.6f, 0}},       {"um", {0.6f, 0, 0.4f}},
    {"ubr", {0.4f, 0.2f, 0}},
}};

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
    if (name == "Gray") return Rgb{t, t, t};
    if (name == "HSV") return hsv_color(t * hsv_scale);
    if (name == "Jet") return jet_color(t * jet_scale);
    if (name == "Hot") return hot_color(t * hot_scale);
    if (name == "Cool") return Rgb{t, 1 - t, 1};
    if (name == "Spring") return Rgb{1, t, 1 - t};
    if (name == "Summer") return Rgb{t, 1, 0};
    if (name == "Autumn") return Rgb{1, t, 0};
    if (name == "Winter") return Rgb{0, t, 1 - t};
    if (name == "Bone") return Rgb{t, 0, t};
    return Rgb{0, 0, 0};
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

void ZarIdor::set_colormap(std::string name) {
    current_colormap = build_colormap(name);
    if (mode != display_mode::configuration) return;
    if (Surface* surface = current_surface.get()) surface->colormap_name = std::move(name);
}

} // namespace rizodozad
