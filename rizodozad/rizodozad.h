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
//   [SECTION] Engine bookkeeping: passes, lists, current records, input state
//   [SECTION] Display cycle
//   [SECTION] Figures, layers and axes
//   [SECTION] Lines, styles and colours
//   [SECTION] Surfaces, contours, patches, texts, colour bars
//   [SECTION] Mouse and layer list
//   [SECTION] Export
//   [SECTION] Renderers and coordinate transforms
//
// Beside this file: records.h (the records and the codes of their fields),
// vocabulary.h (style tokens, property keys, colour and colormap names), handles.h
// (handle arithmetic), colors.h, ticks.h and contours.h (pure functions), pictures.h
// (captured frames and the GIF recorder).
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "rizodozad/colors.h"
#include "rizodozad/contours.h"
#include "rizodozad/current_record.h"
#include "rizodozad/handles.h"
#include "rizodozad/pictures.h"
#include "rizodozad/records.h"
#include "rizodozad/ticks.h"
#include "rizodozad/vocabulary.h"

namespace rizodozad {

class GlyphAtlas;

//-----------------------------------------------------------------------------
// [SECTION] Codes and fixed numbers
//-----------------------------------------------------------------------------

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

// The layer list shows while the pointer is left of this pixel column.
constexpr int layer_strip_width_px = 25;

constexpr double pi = 3.14159265358979323846;

// n values evenly from min to max; n below 1 counts as 1.
std::vector<double> linspace(double min, double max, int n);

// Maps v from the limit pair onto -1..1, the cube of three-dimensional views.
float unit_cube_coordinate(double v, const std::array<double, 2>& lim);

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

    //-------------------------------------------------------------------------
    // [SECTION] Engine bookkeeping: passes, lists, current records, input state
    //-------------------------------------------------------------------------

    int mode = display_mode::allocation; // the pass the next display cycle starts with
    int last_handle = 0;                 // the record created last, for set(style)
    Colormap current_colormap;           // set_colormap()

    std::vector<Figure> figure_list;
    std::vector<Layer> layer_list;
    std::vector<Axes> axes_list;
    std::vector<Line> line_list;
    std::vector<Surface> surface_list;
    std::vector<Patch> patch_list;
    std::vector<Text> text_list;
    std::vector<Colorbar> colorbar_list; // nothing adds to it; it is only compared

    CurrentRecord<Figure> current_figure{figure_list};
    CurrentRecord<Layer> current_layer{layer_list};
    CurrentRecord<Axes> current_axes{axes_list};
    CurrentRecord<Line> current_line{line_list};
    CurrentRecord<Surface> current_surface{surface_list};
    CurrentRecord<Patch> current_patch{patch_list};
    CurrentRecord<Text> current_text{text_list};

    // Records of each kind composed so far in the current pass.
    int figure_counter = 0;
    int layer_counter = 0;
    int axes_counter = 0;
    int line_counter = 0;
    int surface_counter = 0;
    int patch_counter = 0;
    int text_counter = 0;
    int colorbar_counter = 0;

    int selected_axes = -1;   // index in axes_list of the clicked axes, -1 for none
    int layer_click_time = 0; // milliseconds, for the double press on the layer list
    int layer_last_click_time = 0;
    float mouse_down_x = 0; // where a drag of a 3D axes started
    float mouse_down_y = 0;
    float drag_start_azimuth = 0;
    float drag_start_elevation = 0;
    std::vector<FigureText> figure_texts; // of the current composition
    std::vector<DrawnText> drawn_texts;   // every string the last display pass drew, in order

    //-------------------------------------------------------------------------
    // [SECTION] Display cycle
    //-------------------------------------------------------------------------

    void display_cycle(); // called again from inside a cycle (from compose_figure), does nothing
    // Asks for fresh records: the next display cycle starts with an allocation pass.
    void rebuild();
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

    //-------------------------------------------------------------------------
    // [SECTION] Lines, styles and colours
    //-------------------------------------------------------------------------

    int create_line();
    int line(std::vector<double> x, std::vector<double> y);
    int plot(std::vector<double> x, std::vector<double> y);
    int plot_y(std::vector<double> y); // against 0, 1, 2, ...
    void update_data_range();

    // Style tokens, property keys, colour and colormap names: vocabulary.h.
    void set(std::string style); // applies to last_handle
    void set(int handle, std::string property, std::string value);
    void set_colormap(std::string name);

    //-------------------------------------------------------------------------
    // [SECTION] Surfaces, contours, patches, texts, colour bars
    //-------------------------------------------------------------------------

    // Every creator below attaches its record to the current axes in the allocation
    // pass and finds it again by position in later passes, refills its data and widens
    // the axes' data extents, so automatic limits follow the data. Properties set on
    // the returned handle (also left in last_handle for set(style)) are kept. Records
    // of a hidden layer hold no data and widen nothing.
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

    //-------------------------------------------------------------------------
    // [SECTION] Renderers and coordinate transforms
    //-------------------------------------------------------------------------

    // The display walk and the renderer of each kind, drawing the current record into
    // the current GL context; the display cycle calls them.
    void display_figure();
    void display_layer();
    void display_layer_list();
    void display_axes();
    void display_axes_2d();
    void display_axes_3d();
    void display_line();
    void display_surface();
    void display_surface_2d();
    void display_surface_3d();
    void display_contour();
    void display_patch();
    void display_patch_3d();
    void display_text();
    void display_colorbar();
    void display_legend();
    void display_figure_texts();

    // Data coordinates of the current axes as window fractions, or as fractions of
    // the axes' own unit square.
    float data_to_window_x(double x);
    float data_to_window_y(double y);
    float data_to_unit_x(double x);
    float data_to_unit_y(double y);

    // Black bitmap text at window fractions, or centred on a point of the 3D cube.
    void draw_string(float x, float y, const std::string& text);
    void draw_string_3d(float x, float y, float z, const std::string& text);

  private:
    Frame* capture_target_ = nullptr;         // filled by the display pass before its swap
    bool cycling_ = false;                    // a display cycle is under way
    std::unique_ptr<GlyphAtlas> glyph_atlas_; // the font as one texture, for on-screen text

    void run_cycle();
    void allocation_pass();
    bool configuration_pass(); // false on a mismatch of a list with its counter
    void display_pass();
    void forget_records();
    void display_child(int handle);
    void display_any_patch();
    void reset_counters();
    void forget_current_records();
    void lay_out_tidy();
    void display_axes_2d_tidy();
    void draw_tidy_colour_labels(const Axes& bar);
};

} // namespace rizodozad
