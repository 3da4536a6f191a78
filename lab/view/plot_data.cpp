#include "lab/view/plot_data.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "lab/scenario/constants.h"

namespace lab::view {

std::vector<double> ez_positions_mm(int cells, double dx_m) {
    std::vector<double> x(static_cast<std::size_t>(std::max(cells, 0)));
    for (std::size_t i = 0; i < x.size(); ++i)
        x[i] = static_cast<double>(i) * dx_m * mm_per_m;
    return x;
}

std::vector<double> hy_positions_mm(int cells, double dx_m) {
    std::vector<double> x = ez_positions_mm(cells, dx_m);
    for (double& v : x)
        v += 0.5 * dx_m * mm_per_m;
    return x;
}

std::vector<double> scaled_by_impedance(const std::vector<double>& hy_a_per_m) {
    std::vector<double> e;
    scale_by_impedance(hy_a_per_m, e);
    return e;
}

void scale_by_impedance(const std::vector<double>& hy_a_per_m, std::vector<double>& e_v_per_m) {
    e_v_per_m.resize(hy_a_per_m.size());
    for (std::size_t i = 0; i < e_v_per_m.size(); ++i)
        e_v_per_m[i] = eta0 * hy_a_per_m[i];
}

double cell_left_mm(int cell, double dx_m) { return (cell - 0.5) * dx_m * mm_per_m; }
double cell_right_mm(int cell, double dx_m) { return (cell + 0.5) * dx_m * mm_per_m; }

namespace {

std::string pole_label(const Pole& p) {
    char label[64];
    switch (p.kind) {
    case PoleKind::debye:
        std::snprintf(label, sizeof label, "Debye tau %g ps", p.relaxation_time_s * ps_per_s);
        break;
    case PoleKind::drude:
        std::snprintf(label, sizeof label, "Drude fp %g GHz", p.plasma_frequency_hz * ghz_per_hz);
        break;
    case PoleKind::lorentz:
        std::snprintf(label, sizeof label, "Lorentz f0 %g GHz",
                      p.resonance_frequency_hz * ghz_per_hz);
        break;
    }
    return label;
}

// A plain layer by its constants; a dispersive one by its poles' models.
std::string layer_label(const Layer& l) {
    if (l.poles.empty()) {
        char label[64];
        std::snprintf(label, sizeof label, "eps_r %g sigma %g", l.eps_r, l.sigma_s_per_m);
        return label;
    }
    std::string label;
    for (const Pole& pole : l.poles)
        label += (label.empty() ? "" : " + ") + pole_label(pole);
    return label;
}

} // namespace

std::vector<Span> layer_spans(const Scenario& s) {
    std::vector<Span> spans;
    const double dx = s.grid.cell_size_m;
    for (const Layer& l : s.layers)
        spans.push_back({cell_left_mm(l.first, dx), cell_right_mm(l.last, dx), layer_label(l)});
    return spans;
}

std::vector<Span> pml_spans(const Scenario& s) {
    std::vector<Span> spans;
    const double dx = s.grid.cell_size_m;
    if (const int n = s.pml_cells(Side::left); n > 0)
        spans.push_back({cell_left_mm(0, dx), cell_right_mm(n - 1, dx), "PML"});
    if (const int n = s.pml_cells(Side::right); n > 0)
        spans.push_back(
            {cell_left_mm(s.grid.cells - n, dx), cell_right_mm(s.grid.cells - 1, dx), "PML"});
    return spans;
}

Curve spectrum_curve(const std::vector<double>& frequency_hz, const std::vector<double>& values) {
    Curve curve;
    for (std::size_t i = 0; i < std::min(frequency_hz.size(), values.size()); ++i) {
        if (!std::isfinite(values[i])) continue;
        curve.x.push_back(frequency_hz[i] * ghz_per_hz);
        curve.y.push_back(values[i]);
    }
    return curve;
}

void extend_times_ps(std::vector<double>& times_ps, int steps, double dt_s) {
    const auto wanted = static_cast<std::size_t>(std::max(steps, 0));
    if (times_ps.size() > wanted) times_ps.resize(wanted);
    for (std::size_t n = times_ps.size(); n < wanted; ++n)
        times_ps.push_back(static_cast<double>(n + 1) * dt_s * ps_per_s);
}

double largest_magnitude(const std::vector<double>& values) {
    double largest = 0.0;
    for (double v : values)
        if (std::fabs(v) > largest) largest = std::fabs(v);
    return largest;
}

std::string status_line(const Simulation& run, int steps_per_frame, bool running) {
    const Scenario& s = run.scenario();
    char frequency[32] = "";
    if (s.source.waveform != Waveform::gaussian)
        std::snprintf(frequency, sizeof frequency, " %.3g GHz", s.source.frequency_hz * ghz_per_hz);
    char text[256];
    std::snprintf(text, sizeof text,
                  "step %d/%d   t = %.2f ps   S = %g   ends %s|%s   source %s %s%s at %.2f mm   "
                  "%d %s%s%s",
                  run.step_count(), run.total_steps(), run.time_s() * ps_per_s, s.grid.courant,
                  name_of(s.boundary.left), name_of(s.boundary.right), name_of(s.source.type),
                  name_of(s.source.waveform), frequency,
                  s.source.cell * s.grid.cell_size_m * mm_per_m, steps_per_frame,
                  steps_per_frame == 1 ? "step/frame" : "steps/frame",
                  run.materials_on() ? "" : "   materials off",
                  run.finished() ? "   finished: 0 restarts"
                  : running      ? ""
                                 : "   paused: space runs");
    return text;
}

} // namespace lab::view
