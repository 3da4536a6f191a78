#include "lab/scenario/layer_geometry.h"

#include <cmath>
#include <cstdio>

#include "lab/scenario/constants.h"
#include "lab/scenario/scenario_check.h"

namespace lab {

namespace {

constexpr double mm_per_m = 1e3;

// Far beyond any grid the checks accept, and far from int's limits: a value out there is
// refused as outside the grid rather than wrapping round.
constexpr double cell_limit = 4.0 * max_cells;

int whole_cells(double cells) {
    return static_cast<int>(std::lround(std::fmax(-cell_limit, std::fmin(cell_limit, cells))));
}

} // namespace

double refractive_index(double eps_r, double mu_r) { return std::sqrt(eps_r * mu_r); }

double quarter_wave_thickness_m(double frequency_hz, double index) {
    return c0 / (4.0 * index * frequency_hz);
}

int cell_at(double x_m, double dx_m) { return whole_cells(x_m / dx_m); }

int cells_in(double thickness_m, double dx_m) { return whole_cells(thickness_m / dx_m); }

std::vector<std::string> rounding_notes(const Scenario& s) {
    std::vector<std::string> notes;
    for (std::size_t i = 0; i < s.layers.size(); ++i) {
        const Layer& l = s.layers[i];
        if (l.written_thickness_m <= 0.0) continue;
        const double actual_m = (l.last - l.first + 1) * s.grid.cell_size_m;
        if (std::fabs(actual_m - l.written_thickness_m) <=
            thickness_note_threshold * l.written_thickness_m)
            continue;
        char line[160];
        std::snprintf(line, sizeof line, "layer %zu: cells %d..%d, %.4g mm thick (written %.4g mm)",
                      i + 1, l.first, l.last, actual_m * mm_per_m,
                      l.written_thickness_m * mm_per_m);
        notes.push_back(line);
    }
    return notes;
}

} // namespace lab
