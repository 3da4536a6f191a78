// Every word the engine understands, in one place: the style tokens of set(style), the
// property keys of set(handle, property, value), the colour names and the colormap
// names. The engine reads these tables, so what is listed here is exactly what it
// accepts; any other word is ignored. The numeric codes of record fields are named
// beside the records (records.h); mouse codes and the layer strip are in rizodozad.h.
#pragma once

#include <array>

#include "rizodozad/records.h"

namespace rizodozad::vocabulary {

//-----------------------------------------------------------------------------
// [SECTION] Colour names: set("r"), "Color", "EdgeColor", "FaceColor"
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

// Surfaces and patches also take "none" (not drawn) and surfaces "flat" (the colour of
// each cell from the colormap) as face colours.
constexpr const char* none = "none";
constexpr const char* flat = "flat";

//-----------------------------------------------------------------------------
// [SECTION] Line styles and markers: set("- -"), "LineStyle", "Marker"
//-----------------------------------------------------------------------------

// Solid, dashed, dotted, dash-dot; "none" draws no polyline.
constexpr std::array<const char*, 4> line_styles{"-", "- -", ":", "-."};

// ">", "<", "p" and "h" are accepted but draw no marker.
constexpr std::array<const char*, 14> markers{".", "+", "x", "d", "^", "v", "o",
                                              "*", "s", ">", "<", "p", "h", "|"};

//-----------------------------------------------------------------------------
// [SECTION] Property keys of set(handle, property, value), by the handle's kind
//-----------------------------------------------------------------------------

namespace key {
constexpr const char* color_and_edge = "COLOR"; // a line's colour and marker edge
constexpr const char* color = "Color";
constexpr const char* marker = "Marker";
constexpr const char* line_style = "LineStyle";
constexpr const char* marker_edge_color = "MarkerEdgeColor";
constexpr const char* marker_face_color = "MarkerFaceColor";
constexpr const char* edge_color = "EdgeColor";
constexpr const char* face_color = "FaceColor";
constexpr const char* tick_dir = "TickDir"; // "in" or "out"
} // namespace key

// Axes: TickDir. Lines: COLOR, Color, Marker, LineStyle, MarkerEdgeColor,
// MarkerFaceColor. Surfaces and patches: COLOR (the edge colour), EdgeColor,
// FaceColor, LineStyle. Figures, layers and texts have none.

//-----------------------------------------------------------------------------
// [SECTION] Colormap names: set_colormap("Jet")
//-----------------------------------------------------------------------------

constexpr std::array<const char*, 10> colormap_names{
    "Gray", "HSV", "Jet", "Hot", "Cool", "Spring", "Summer", "Autumn", "Winter", "Bone"};

} // namespace rizodozad::vocabulary
