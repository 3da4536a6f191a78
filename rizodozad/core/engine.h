// The engine's internals: the record lists, the counters of a pass, the current record
// of each kind, the state of clicks and drags, and the renderers. Only the engine's own
// files and its tests include this; programs see the face, rizodozad/rizodozad.h.
//
// Index of this file
//   [SECTION] Codes and fixed numbers
//   [SECTION] Passes, lists, current records, input state
//   [SECTION] Operations behind the face
//   [SECTION] Renderers and coordinate transforms
#pragma once

#include <array>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "rizodozad/core/current_record.h"
#include "rizodozad/core/pixel_box.h"
#include "rizodozad/core/scales.h"
#include "rizodozad/rizodozad.h"

namespace rizodozad {

class GlyphAtlas;

//-----------------------------------------------------------------------------
// [SECTION] Codes and fixed numbers
//-----------------------------------------------------------------------------

// The layer list shows while the pointer is left of this pixel column.
constexpr int layer_strip_width_px = 25;

// Maps v from the limit pair onto -1..1, the cube of three-dimensional views.
float unit_cube_coordinate(double v, const std::array<double, 2>& lim);

class Engine {
  public:
    // The application's settings (window size, pointer, tidy_layout, ...) and its
    // composition are read from app.
    explicit Engine(ZarIdor& app);
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    ZarIdor& app;

    //-------------------------------------------------------------------------
    // [SECTION] Passes, lists, current records, input state
    //-------------------------------------------------------------------------

    int mode = display_mode::allocation; // the pass the next display cycle starts with
    int last_handle = 0;                 // the record created last, for set(style)
    Colormap current_colormap;           // set_colormap()
    scales::Scales scales;               // in force while a display cycle runs

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

    // A line whose data the program keeps (plot_kept): read in place until the pass that
    // composed it ends, when the line stores what its axes can show.
    struct KeptLine {
        std::size_t line_index = 0;
        std::size_t axes_index = 0;
        const std::vector<double>* x = nullptr;
        const std::vector<double>* y = nullptr;
    };
    std::vector<KeptLine> kept_lines;   // of the current pass
    std::vector<DrawnText> drawn_texts; // every string the last display pass drew, in order
    // The legend boxes the last display pass drew, each with its names' place in drawn_texts.
    struct DrawnLegend {
        tidy::PixelBox box;
        std::size_t first_name = 0, end_name = 0;
    };
    std::vector<DrawnLegend> drawn_legends;

    //-------------------------------------------------------------------------
    // [SECTION] Operations behind the face (documented in rizodozad.h)
    //-------------------------------------------------------------------------

    void display_cycle();
    void rebuild();
    void begin_pass(int pass_mode);

    int create_figure();
    int create_layer();
    int layer(std::string name);
    int create_axes();
    int subplot(int m, int n, int p);
    void legend(std::vector<std::string> names);
    void figure_text(float x, float y, std::string text);
    void fix_x_limits(const Limits& x_lim);
    void fix_y_limits(const Limits& y_lim);
    void fix_z_limits(const Limits& z_lim);
    std::optional<FramePx> axes_frame_px(int handle) const;

    int create_line();
    int line(std::vector<double> x, std::vector<double> y);
    int plot(std::vector<double> x, std::vector<double> y);
    int plot_y(std::vector<double> y);
    int plot_kept(const std::vector<double>& x, const std::vector<double>& y);
    // Widens the current axes' data extents by x and y, each only where its limits follow
    // the data.
    void update_data_range(const std::vector<double>& x, const std::vector<double>& y,
                           const std::vector<double>& z);
    // The kept lines of the pass store their data, reduced to the columns their axes will
    // draw them in; called once the pass has laid the axes out.
    void store_kept_lines();
    // The columns of pixels a line of this two-dimensional axes is drawn across: the width
    // of the viewport its children get, times the finer columns of an export.
    double line_columns(const Axes& axes) const;
    void set(std::string style);
    void set(int handle, std::string property, std::string value);
    void set_colormap(std::string name);
    void set_line_width(float width);

    int create_surface();
    int create_patch();
    int create_text();
    int surface(Matrix z);
    int surface(Matrix x, Matrix y, Matrix z);
    int mesh(Matrix x, Matrix y, Matrix z);
    int surf(Matrix x, Matrix y, Matrix z);
    int contour(std::vector<double> x, std::vector<double> y, Matrix z, std::vector<double> levels);
    int patch(Matrix x, Matrix y, Colormap colors = {});
    int patch(Matrix x, Matrix y, Matrix z, Colormap colors = {});
    int text(double x, double y, std::string string);
    int colorbar();

    void layer_list_click(int button, int state, int x, int y);
    bool layer_list_shown() const;
    void axes_click(int button, int state, int x, int y);
    void axes_drag(int x, int y);

    bool export_picture(const std::string& path);
    Frame capture_picture();
    void print_eps();
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
    void configure_every_axes(); // limits and ticks from the data gathered in the pass
    void lay_out_tidy();
    void display_axes_2d_tidy();
    void draw_tidy_colour_labels(const Axes& bar);
};

// The internals of an engine: the way in for the engine's own files and its tests.
inline Engine& internals(ZarIdor& app) { return *app.engine_; }
inline const Engine& internals(const ZarIdor& app) { return *app.engine_; }

} // namespace rizodozad
