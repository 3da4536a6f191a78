// What the live view plots, computed from a run without OpenGL: positions in mm, times in
// ps, frequencies in GHz, the shaded regions, the band the grid resolves well, and the
// status line.
#pragma once

#include <string>
#include <vector>

#include "lab/analysis/experiment.h"

namespace lab::view {

constexpr double mm_per_m = 1e3;
constexpr double ps_per_s = 1e12;
constexpr double ghz_per_hz = 1e-9;

// The spectra plot marks the band with at least this many cells per wavelength in the
// densest material (see frequency_resolved_by).
constexpr double resolved_cells_per_wavelength = 20.0;

struct Curve {
    std::vector<double> x, y;
};

// A stretch of the x axis, in mm or GHz, with what to write on it.
struct Span {
    double from = 0.0, to = 0.0;
    std::string label;
};

// Ez nodes lie at i dx, Hy nodes half a cell to their right.
std::vector<double> ez_positions_mm(int cells, double dx_m);
std::vector<double> hy_positions_mm(int cells, double dx_m);
// eta0 Hy: the magnetic field in V/m, on the electric field's scale.
std::vector<double> scaled_by_impedance(const std::vector<double>& hy_a_per_m);
// The same into a buffer kept from frame to frame.
void scale_by_impedance(const std::vector<double>& hy_a_per_m, std::vector<double>& e_v_per_m);
// A cell's stretch of x: half a cell either side of its node.
double cell_left_mm(int cell, double dx_m);
double cell_right_mm(int cell, double dx_m);

// The material layers ("eps_r 4 sigma 0", or by model: "Drude fp 30 GHz") and pml ends,
// each as the stretch it covers.
std::vector<Span> layer_spans(const Scenario& scenario);
std::vector<Span> pml_spans(const Scenario& scenario);

// A spectrum against frequency in GHz, without the points that were not measured.
Curve spectrum_curve(const std::vector<double>& frequency_hz, const std::vector<double>& values);

// Grows the times of a probe history to `steps` entries, in ps ((n + 1) dt for step n).
void extend_times_ps(std::vector<double>& times_ps, int steps, double dt_s);

// The largest magnitude in the values, NaN ignored.
double largest_magnitude(const std::vector<double>& values);

// step 120/6000  t = 40.00 ps  S = 1  ends abc|abc  source soft gaussian at 10.00 mm
// 10 steps/frame, then "paused: space runs" while paused or "finished: 0 restarts"
std::string status_line(const Simulation& run, int steps_per_frame, bool running);

} // namespace lab::view
