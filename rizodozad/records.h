// The records of a picture: plain values held in one list per kind, linked by handles.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace rizodozad {

//-----------------------------------------------------------------------------
// [SECTION] Colours
//-----------------------------------------------------------------------------

using Rgb = std::array<float, 3>; // red, green, blue in 0..1
using Colormap = std::vector<Rgb>;

using Matrix = std::vector<std::vector<double>>; // a sequence of rows

// Traced contour lines, two rows of equal length: per polyline a header column (level,
// point count) followed by one column (x, y) per point.
using ContourMatrix = std::array<std::vector<double>, 2>;

//-----------------------------------------------------------------------------
// [SECTION] Figures and layers
//-----------------------------------------------------------------------------

struct Figure {
    int handle = 0;
    int visible = 1;
    std::vector<int> children; // layer handles, in creation order
};

struct Layer {
    int handle = 0;
    int visible = 1;
    std::string name;
    std::vector<int> children; // axes handles, in creation order
};

//-----------------------------------------------------------------------------
// [SECTION] Axes
//-----------------------------------------------------------------------------

// Codes of the int fields of the records. The fields stay plain ints, so stored values
// and anything written into them keep their meaning; these only name them.
namespace axes_type {
constexpr int two_d = 0;
constexpr int three_d = 1;
constexpr int colorbar = 2;
} // namespace axes_type

namespace limit_mode {
constexpr int automatic = 0;
constexpr int manual = 1;
} // namespace limit_mode

namespace axis_scale {
constexpr int linear = 0;
constexpr int logarithmic = 1; // base 10
} // namespace axis_scale

struct Axes {
    int handle = 0;
    float view_azimuth = 30;   // degrees
    float view_elevation = 30; // degrees, kept in -90..90 by dragging
    double mouse_x = 0;        // data coordinates of the last captured click
    double mouse_y = 0;
    int mouse_capture = 1;
    double data_x_min = 1e99; // extents of the children's data, gathered per configuration pass
    double data_x_max = -1e99;
    double data_y_min = 1e99;
    double data_y_max = -1e99;
    double data_z_min = 1e99;
    double data_z_max = -1e99;
    int type = axes_type::two_d;
    Colormap colormap;
    int box = 1;
    std::string grid_line_style = ":";
    float line_width = 1.0f;
    std::string tick_dir = "in";
    int visible = 1;
    int x_grid = 0;
    int y_grid = 0;
    std::vector<int> children; // drawing order
    int selected = 0;
    std::array<float, 4> position{0.13f, 0.11f, 0.775f, 0.815f}; // left, bottom, width, height
    std::array<float, 4> position_3d{0, 0, 1, 1};
    std::array<double, 2> x_lim{0, 10};
    std::array<double, 2> y_lim{0, 10};
    std::array<double, 2> z_lim{0, 10};
    int x_lim_mode = limit_mode::automatic;
    int y_lim_mode = limit_mode::automatic;
    int z_lim_mode = limit_mode::automatic;
    int x_scale = axis_scale::linear;
    int y_scale = axis_scale::linear;
    std::vector<double> x_tick;
    std::vector<double> y_tick;
    std::vector<double> z_tick;
    int show_tick_labels = 1;
    std::array<float, 3> camera_target{0, 0, 0};
    std::array<float, 3> camera_up{0, 0, 1};
    std::string title;
    std::string x_label;
    std::string y_label;
    std::array<double, 2> c_lim{0, 1};
    std::vector<double> c_tick;
    // Tidy layout only: unlabelled ticks (2..9 times the powers on a logarithmic axis),
    // the names of the lines in a legend, and the plot a colour bar stands beside.
    std::vector<double> x_minor_tick;
    std::vector<double> y_minor_tick;
    std::vector<std::string> legend_names;
    int colorbar_for = 0; // handle of the plot axes, 0 for other axes
    // The tidy layout moves the frame inside the rectangle the composition gave; it
    // remembers both, so that a position set only once is not shrunk again each pass.
    std::array<float, 4> composed_position{};
    std::array<float, 4> tidy_position{};
    std::array<float, 4> tidy_slot_px{}; // left, bottom, width, height of its room
    // Rows of its title, y label, read-out and x label counted outwards from the frame
    // (tick labels first below it), -1 for a text the room has no space for.
    std::array<int, 4> tidy_rows{-1, -1, -1, -1};
};

//-----------------------------------------------------------------------------
// [SECTION] Lines
//-----------------------------------------------------------------------------

struct Line {
    int handle = 0;
    int error_bar = 0;
    std::vector<double> x_data;
    std::vector<double> y_data;
    std::vector<double> z_data;
    std::vector<double> error_upper;
    std::vector<double> error_lower;
    std::string color = "b";
    std::string line_style = "-";
    float line_width = 0.5f;
    std::string marker = "none";
    float marker_size = 6.0f;
    std::string marker_edge_color = "k";
    std::string marker_face_color = "w";
};

//-----------------------------------------------------------------------------
// [SECTION] Surfaces, patches, texts, colour bars
//-----------------------------------------------------------------------------

namespace surface_type {
constexpr int cell_plot = 0;   // flat cells in a two-dimensional axes
constexpr int mesh = 1;        // wire mesh in a three-dimensional axes
constexpr int filled_mesh = 2; // faces and edges in a three-dimensional axes
constexpr int contour = 3;     // contour lines in a two-dimensional axes
} // namespace surface_type

namespace patch_type {
constexpr int two_d = 0;
constexpr int three_d = 1;
} // namespace patch_type

struct Surface {
    int type = surface_type::cell_plot;
    int handle = 0;
    std::string colormap_name;
    std::vector<double> contour_levels;
    std::string face_color = "flat"; // "none", "flat" (from c_data) or a colour
    std::string edge_color = "k";    // "none" or a colour
    std::string line_style = "-";
    float line_width = 0.5f;
    std::vector<std::vector<Rgb>> c_data; // colour of cell (i, j)
    Matrix x_data;
    Matrix y_data;
    Matrix z_data; // z_data[i][j]: row i along y, column j along x
    // Contour lines traced from the data, kept while the data's fingerprint stays the same.
    ContourMatrix contour_lines;
    std::uint64_t contour_fingerprint = 0;
    bool contour_traced = false;
};

struct Patch {
    int handle = 0;
    int type = patch_type::two_d;
    std::vector<std::vector<int>> faces; // indices into vertices; the first three are drawn
    Matrix vertices;                     // x at 0, y at 1
    Matrix x_data;                       // row j: the corners of polygon j
    Matrix y_data;
    Matrix z_data;
    std::vector<Rgb> c_data; // when not empty, colour j fills polygon j
    std::string edge_color = "k";
    std::string face_color = "y";
    std::string line_style = "-";
    float line_width = 0.5f;
};

struct Text {
    int handle = 0;
    std::string text;
    std::array<float, 2> position{0, 0}; // data coordinates of the owning axes
};

// A string placed in window pixels, origin at the bottom left (a status line, a note).
struct FigureText {
    float x = 0;
    float y = 0;
    std::string text;
};

// A string as the text routine drew it: its box in window pixels, origin at the bottom
// left, from the raster position and the font's character widths.
struct DrawnText {
    std::string text;
    float left = 0;
    float bottom = 0;
    float width = 0;
    float height = 0;
};

// Colour bars are drawn as axes of type 2; this kind is only counted.
struct Colorbar {
    int handle = 0;
};

} // namespace rizodozad
