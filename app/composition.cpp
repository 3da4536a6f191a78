// The picture of the run: Ez and Hz over space in a first layer, the history of
// Ez at the probe cell in a second. Straight-line code: every pass issues the same
// create calls and reads the solver's arrays afresh.
#include <array>
#include <cstddef>

#include "app/fdtd.h"

namespace {

constexpr int plot_rows = 3;
constexpr int plot_columns = 1;

constexpr std::array<double, 2> field_y_lim{-2.0, 2.0};
constexpr std::array<double, 2> history_y_lim{-1.0, 1.0};

// Fixes x to 0..x_extent (left automatic while there is no data) and y to y_lim.
void fix_limits(rizodozad::Axes* axes, std::size_t x_extent, const std::array<double, 2>& y_lim) {
    if (axes == nullptr) return;
    if (x_extent != 0) {
        axes->x_lim = {0.0, static_cast<double>(x_extent)};
        axes->x_lim_mode = rizodozad::limit_mode::manual;
    }
    axes->y_lim = y_lim;
    axes->y_lim_mode = rizodozad::limit_mode::manual;
    axes->type = rizodozad::axes_type::two_d;
}

void set_title(rizodozad::Axes* axes, const char* title) {
    if (axes != nullptr) axes->title = title;
}

// Axis labels with units, shown by the tidy layout.
void set_labels(rizodozad::Axes* axes, const char* x_label, const char* y_label) {
    if (axes == nullptr) return;
    axes->x_label = x_label;
    axes->y_label = y_label;
}

} // namespace

void FDTD::compose_figure() {
    layer("layer 1");

    subplot(plot_rows, plot_columns, 1);
    fix_limits(current_axes.get(), cell_x.size(), field_y_lim);
    set_title(current_axes.get(), "Ez in space");
    plot(cell_x, Ez);
    set("r");
    if (tidy_layout) {
        set_labels(current_axes.get(), "cell index", "Ez (V/m)");
        legend({"Ez"});
    }

    subplot(plot_rows, plot_columns, 2);
    set_title(current_axes.get(), "Hz in space"); // limits follow the data
    plot(cell_x, Hz);
    set("b");
    if (tidy_layout) {
        set_labels(current_axes.get(), "cell index", "Hz (A/m)");
        legend({"Hz"});
    }

    layer("layer 2");

    subplot(plot_rows, plot_columns, 3);
    fix_limits(current_axes.get(), ez_history.size(), history_y_lim);
    set_title(current_axes.get(), "Ez at point x[50]");
    plot_y(ez_history);
    if (tidy_layout) {
        set_labels(current_axes.get(), "step", "Ez (V/m)");
        legend({"Ez at cell 50"});
    }
}
