// The picture of the run: Ez and Hz over space in a first layer, the history of
// Ez at the probe cell in a second. Straight-line code: every pass issues the same
// create calls and reads the solver's arrays afresh.
#include <array>
#include <vector>

#include "app/fdtd.h"

namespace {

constexpr int plot_rows = 3;
constexpr int plot_columns = 1;

constexpr rizodozad::Limits field_y_lim{-2.0, 2.0};
constexpr rizodozad::Limits history_y_lim{-1.0, 1.0};

// 0 to the count of values, the x range of a plot against their index.
rizodozad::Limits index_range(const std::vector<double>& values) {
    return {0.0, static_cast<double>(values.size())};
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
    if (!cell_x.empty()) fix_x_limits(index_range(cell_x)); // automatic while there is no data
    fix_y_limits(field_y_lim);
    set_title(current_axes(), "Ez in space");
    plot(cell_x, Ez);
    set("r");
    if (tidy_layout) {
        set_labels(current_axes(), "cell index", "Ez (V/m)");
        legend({"Ez"});
    }

    subplot(plot_rows, plot_columns, 2);
    set_title(current_axes(), "Hz in space"); // limits follow the data
    plot(cell_x, Hz);
    set("b");
    if (tidy_layout) {
        set_labels(current_axes(), "cell index", "Hz (A/m)");
        legend({"Hz"});
    }

    layer("layer 2");

    subplot(plot_rows, plot_columns, 3);
    if (!ez_history.empty()) fix_x_limits(index_range(ez_history));
    fix_y_limits(history_y_lim);
    set_title(current_axes(), "Ez at point x[50]");
    plot_y(ez_history);
    if (tidy_layout) {
        set_labels(current_axes(), "step", "Ez (V/m)");
        legend({"Ez at cell 50"});
    }
}
