// rizodozad: a small immediate-mode OpenGL plotting engine.
//
// An application derives from ZarIdor and overrides compose_figure(), which
// describes the whole picture with create calls. display_cycle() runs it in an
// allocation pass (records appended) and configuration passes (the n-th call of
// a kind finds the n-th record again), then draws the records.
//
// Index of this file
//   [SECTION] Codes and fixed numbers
//   [SECTION] Set by the application
//   [SECTION] Display cycle
//   [SECTION] Figures, layers and axes
//   [SECTION] Lines, styles and colours
//   [SECTION] Surfaces, contours, patches, texts, colour bars
//   [SECTION] Mouse and layer list
//   [SECTION] Export
//
// Beside this file: records.h (the records and the codes of their fields),
// vocabulary.h (style tokens, property keys, colour and colormap names), handles.h
// (handle arithmetic), colors.h (named colours and colormaps), pictures.h (captured
// frames and the GIF recorder), core/atomic_file.h (files replaced whole or not at all).
// The engine's own files reach its internals through core/engine.h.
//
// Folders, lowest first: core (with the headers of this folder), axes, lines,
// surfaces. A folder includes only from its own level and below; scripts/check-includes
// holds the order and proves it.
#pragma once

#include <array>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "rizodozad/core/colors.h"
#include "rizodozad/core/pictures.h"
#include "rizodozad/handles.h"
#include "rizodozad/records.h"
#include "rizodozad/vocabulary.h"

namespace rizodozad {

class Engine;

//-----------------------------------------------------------------------------
// [SECTION] Codes and fixed numbers
//-----------------------------------------------------------------------------

// The passes of a display cycle (begin_pass, next_pass).
namespace display_mode {
constexpr int allocation = 0;
constexpr int configuration = 1;
constexpr int display = 2;
} // namespace display_mode

// Button and state codes of the click handlers, as GLUT reports them.
namespace mouse {
constexpr int left_button = 0;
constexpr int middle_button = 1;
constexpr int right_button = 2;
constexpr int pressed = 0;
constexpr int released = 1;
} // namespace mouse

constexpr double pi = 3.14159265358979323846;

using Limits = std::array<double, 2>; // lower, upper

// An axes' frame in window pixels from the top left, as the mouse callbacks count them.
struct FramePx {
    double left = 0;
    double right = 0;
    double top = 0;
    double bottom = 0;
};

// A string's size as the engine draws it: its width, and how far its box reaches above
// and below the baseline, in pixels at the engine's text scale.
struct TextExtentPx {
    double width = 0;
    double ascent = 0;
    double descent = 0;
};

// n values evenly from min to max; n below 1 counts as 1.
std::vector<double> linspace(double min, double max, int n);

class ZarIdor {
  public:
    ZarIdor();
    virtual ~ZarIdor();
    ZarIdor(const ZarIdor&) = delete;
    ZarIdor& operator=(const ZarIdor&) = delete;

    // Describes the picture; called in every allocation and configuration pass.
    virtual void compose_figure();

    //-------------------------------------------------------------------------
    // [SECTION] Set by the application
    //-------------------------------------------------------------------------

    int window_width = 0; // from the reshape callback
    int window_height = 0;
    int pointer_x = 100; // from the motion callbacks; the layer list shows in the left strip
    int pointer_y = 0;
    int keep_level = 0;  // lists an allocation pass keeps: 1 figures, 2 + layers, 3 + axes, 4 all
    int debug = 0;       // 1 traces the passes and the records drawn on standard output
    int debug_mouse = 0; // 1 traces clicks
    // Margins sized to what each axes holds, ticks sized to the axes in pixels, legends
    // and a read-out line of their own; off by default, which keeps the classic layout.
    bool tidy_layout = false;
    // Text drawn `scale` times the font's 12 pixels (its boxes, gaps and legend boxes
    // growing with it), lines `scale` times as wide; on screen and in exports alike. Both
    // are 1 by default; a scale that is not positive and finite is ignored.
    void set_text_scale(double scale);
    void set_line_scale(double scale);
    double text_scale() const;
    double line_scale() const;
    // How large a string comes out at this engine's text scale, for programs that place
    // texts of their own around one another.
    TextExtentPx text_extent_px(const std::string& text) const;
    // The tidy read-out names the nearest line by its legend entry instead of "line N".
    bool readout_names_lines = false;

    //-------------------------------------------------------------------------
    // [SECTION] Display cycle
    //-------------------------------------------------------------------------

    void display_cycle(); // called again from inside a cycle (from compose_figure), does nothing
    // Asks for fresh records: the next display cycle starts with an allocation pass.
    void rebuild();
    // The pass the next display cycle starts with (display_mode); display once the
    // records are built and matched, so that a reshape may set the viewport itself.
    int next_pass() const;
    // Sets up a pass as the display cycle does before it composes: mode, counters at
    // zero, no current record, the lists emptied for an allocation pass (as keep_level
    // allows), then the figure, the first layer with its axes and one more axes. For
    // programs and tests that run a composition without drawing.
    void begin_pass(int pass_mode);

    //-------------------------------------------------------------------------
    // [SECTION] Figures, layers and axes
    //-------------------------------------------------------------------------

    int create_figure();
    int create_layer();
    int layer(std::string name); // a new layer with its own axes, named once
    int create_axes();
    int subplot(int m, int n, int p); // axes p of an m x n grid, counted by rows from the top
    // Names the lines of the current axes, in the order they were plotted: a box in the
    // corner of the frame that hides the least data shows each with a sample.
    void legend(std::vector<std::string> names);
    // A string at window pixel (x, y), origin at the bottom left; call it in
    // compose_figure like the create calls. The tidy layout keeps the axes clear of it.
    void figure_text(float x, float y, std::string text);

    // Fixed limits of the current axes, kept whatever its data spans.
    void fix_limits(const Limits& x_lim, const Limits& y_lim);
    void fix_x_limits(const Limits& x_lim);
    void fix_y_limits(const Limits& y_lim);
    void fix_z_limits(const Limits& z_lim);
    // Where the last layout put the frame of the axes with this handle; nothing for a
    // handle that names no axes.
    std::optional<FramePx> axes_frame_px(int handle) const;
    // The current axes' record, for what no call covers (title, labels, scales, place,
    // three dimensions); nullptr when there is none.
    Axes* current_axes();
    // No axes stays selected, as before any click.
    void deselect_axes();

    //-------------------------------------------------------------------------
    // [SECTION] Lines, styles and colours
    //-------------------------------------------------------------------------

    int create_line();
    int line(std::vector<double> x, std::vector<double> y);
    int plot(std::vector<double> x, std::vector<double> y);
    int plot_y(std::vector<double> y); // against 0, 1, 2, ...
    // A line over data the program keeps, read in place: x and y must stay alive and
    // unchanged until this display cycle ends. The line stores only what its axes' pixel
    // columns can show (finer for an export), so a long line draws the same picture at a
    // cost that does not grow with it; markers and error bars keep every point. Fixed
    // limits spare the pass that automatic limits take over the data.
    int plot_kept(const std::vector<double>& x, const std::vector<double>& y);
    // The line just plotted, for markers, error bars and z data; nullptr when there is none.
    Line* current_line();

    // Style tokens, property keys, colour and colormap names: vocabulary.h.
    void set(std::string style); // applies to the record created last
    void set(int handle, std::string property, std::string value);
    void set_colormap(std::string name);
    // A colormap of the application's own, from the lowest colour to the highest, for the
    // colour bars made after it.
    void set_colormap_entries(Colormap colours);
    // Width in pixels of the line, surface or patch created last.
    void set_line_width(float width);

    //-------------------------------------------------------------------------
    // [SECTION] Surfaces, contours, patches, texts, colour bars
    //-------------------------------------------------------------------------

    // Every creator below attaches its record to the current axes in the allocation
    // pass and finds it again by position in later passes, refills its data and widens
    // the axes' data extents, so automatic limits follow the data. Properties set on
    // the returned handle (or through set(style) right after) are kept. Records of a
    // hidden layer hold no data and widen nothing.
    //
    // Grids: rows of z run along y, columns along x. x and y are either one row each
    // (x per grid column, y per grid row) or one value per grid point each. Cells of
    // surfaces are coloured from the engine's colormap over the current axes' c_lim.

    int create_surface();
    int create_patch();
    int create_text();

    // Cell plot of z spread evenly across the current axes' limits.
    int surface(Matrix z);
    // Cell plot over grid coordinates.
    int surface(Matrix x, Matrix y, Matrix z);
    // Wire mesh (edges coloured, no faces) for three-dimensional axes.
    int mesh(Matrix x, Matrix y, Matrix z);
    // Surface with colormap faces and black edges for three-dimensional axes.
    int surf(Matrix x, Matrix y, Matrix z);
    // Contour lines of z at each level; x holds one value per grid column, y per grid row.
    int contour(std::vector<double> x, std::vector<double> y, Matrix z, std::vector<double> levels);
    // Polygons, one row of corners per polygon; when colours are given, colors[j] fills
    // polygon j. A braced third argument needs its type named (Matrix{...} or Colormap{...}).
    int patch(Matrix x, Matrix y, Colormap colors = {});
    // The same in three-dimensional axes.
    int patch(Matrix x, Matrix y, Matrix z, Colormap colors = {});
    // A string anchored at (x, y) in the current axes' data coordinates.
    int text(double x, double y, std::string string);
    // A colour bar beside the current axes showing the engine's colormap over that
    // axes' c_lim; it is an axes of its own, so it must be made in every pass like
    // the rest. The plot axes stays current; returns the bar's handle.
    int colorbar();

    //-------------------------------------------------------------------------
    // [SECTION] Mouse and layer list
    //-------------------------------------------------------------------------

    // The GLUT mouse callback's arguments (codes in namespace mouse), window pixels
    // from the top left.
    void layer_list_click(int button, int state, int x, int y);
    bool layer_list_shown() const; // whether the pointer is in the strip that shows the list
    void axes_click(int button, int state, int x, int y);
    void axes_drag(int x, int y);

    //-------------------------------------------------------------------------
    // [SECTION] Export
    //-------------------------------------------------------------------------

    // Writes the picture to path in the format its extension names (case aside):
    // .eps, .pdf and .svg as vector pages, .png as the window's pixels. The file is
    // replaced whole or not at all; false, with the reason on standard error, otherwise.
    bool export_picture(const std::string& path);
    // Runs a display cycle and returns the picture's pixels (window_width x
    // window_height), read just before the swap shows them.
    Frame capture_picture();

    // Writes the picture to "out.eps" in the working directory.
    void print_eps();
    // Writes the picture as EPS to an open stream; false when nothing usable was written.
    bool export_eps(std::FILE* stream, const char* file_name);

  private:
    friend Engine& internals(ZarIdor& app);
    friend const Engine& internals(const ZarIdor& app);

    std::unique_ptr<Engine> engine_; // the records and everything that draws them
};

} // namespace rizodozad
