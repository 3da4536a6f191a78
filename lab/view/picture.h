// The live view's picture on the engine: the fields over space, the probes over time, the
// spectra (when the scenario has them), the status line, and the help over everything.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "lab/view/dragging.h"
#include "lab/view/plot_data.h"
#include "lab/view/session.h"
#include "rizodozad/rizodozad.h"

namespace lab::view {

struct HelpRow; // one line of the help, in picture.cpp

class Picture : public rizodozad::ZarIdor {
  public:
    explicit Picture(const Session& session) : session_(session) {
        tidy_layout = true;
        readout_names_lines = true;
    }

    void compose_figure() override;

    // The space plot's frame in window pixels, for dragging markers.
    PlotFrame space_frame() const;
    // While a marker is dragged it is drawn at the pointer's cell instead of its own.
    void show_dragged(std::optional<MarkerId> marker, int cell);

    bool status_shown = true; // the status line and the news under it

  private:
    // The space plot's mapping to pixels as composed: x in mm from the left edge, y per px.
    struct PlotScale {
        double left_mm, px_per_mm, y_per_px;
        double width_px, height_px; // the frame's
        double px_of_mm(double x_mm) const { return (x_mm - left_mm) * px_per_mm; }
    };
    PlotScale space_scale(const std::array<double, 2>& y_lim);
    // Labels along the space plot: where each is written (x in mm) and its row, if any.
    struct PlacedLabels {
        std::vector<double> x_mm;
        std::vector<std::optional<int>> rows;
    };
    PlacedLabels place_labels(const PlotScale& scale, const std::vector<double>& x_mm,
                              const std::vector<std::string>& texts) const;
    double top_label_fraction(const PlotScale& scale) const;

    void compose_space();
    void compose_space_regions(const std::array<double, 2>& y_lim);
    void compose_index_bar();
    void compose_markers(const std::array<double, 2>& y_lim);
    void compose_time();
    void compose_spectra();
    void compose_status();
    std::array<float, 4> below_status(const std::array<float, 4>& position) const;
    void compose_help();
    void draw_help(const std::vector<HelpRow>& rows, double left, double right, double key_column);
    void follow_restarts();
    int marker_cell(MarkerId marker) const;

    const Session& session_;
    // What the engine reads in place while a frame is composed, kept from frame to frame.
    std::vector<double> ez_x_mm_, hy_x_mm_; // node positions of the grid last drawn
    double positions_dx_m_ = 0.0;           // the cell size they were computed for
    std::vector<double> eta0_hy_;           // eta0 Hy of the frame
    std::vector<double> times_ps_;          // the probes' time axis, grown as the run goes
    std::vector<Curve> overviews_;          // each probe's overview in ps, once runs are long
    double field_peak_ = 0.0;               // largest |Ez|, |eta0 Hy| since step 0
    double probe_peak_ = 0.0;               // largest probe |Ez| since step 0
    int last_step_seen_ = 0;                // a smaller step count means the run restarted
    double plots_squeeze_ = 1; // the plots' heights and bottoms, times this, clear the status
    std::array<float, 4> laid_out_space_{}; // the space plot's frame in the last layout
    int space_axes_ = 0; // handle of the space plot once composed; 0 names no axes
    std::optional<MarkerId> dragged_;
    int dragged_cell_ = 0;
};

} // namespace lab::view
