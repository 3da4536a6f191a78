#include "lab/solver/source.h"

#include <algorithm>
#include <cmath>

#include "lab/scenario/waveforms.h"
#include "lab/solver/ends/grid_end.h"

namespace lab {

namespace {

// The incident grid: a hard source at node 0 and the tfsf boundary at node incident_offset.
// Whatever its far end sends back would cross the boundary as a scattered wave: at S = 1 an
// abc end sends nothing back; below, the grid is long enough that no echo returns within
// the run (capped, beyond which a pml keeps the echo near 1e-5).
constexpr int incident_offset = 2;
constexpr int incident_margin_cells = 10;
constexpr int incident_pml_cells = 40;
constexpr int incident_cap_cells = 100'000;

std::unique_ptr<FieldGrid> incident_grid(const Discretisation& grid, int run_steps) {
    const double S = grid.courant;
    const Boundary end = S == 1.0 ? Boundary::abc : Boundary::pml;
    // Signals move at most S cells per step; an echo has to go there and back.
    const double echo_free = S == 1.0 ? 0.0 : std::ceil(0.5 * run_steps * S);
    const int run =
        static_cast<int>(std::min<double>(echo_free, std::max(grid.cells, incident_cap_cells)));
    const int cells = incident_offset + incident_margin_cells + run +
                      (end == Boundary::pml ? incident_pml_cells : 0);
    const Discretisation vacuum(cells, grid.dx_m, S);
    auto line = std::make_unique<FieldGrid>(vacuum);
    line->add_hook(make_grid_end(Side::left, Boundary::pec, vacuum, incident_pml_cells));
    line->add_hook(make_grid_end(Side::right, end, vacuum, incident_pml_cells));
    return line;
}

} // namespace

Source::Source(const SourceSettings& settings, const Discretisation& grid, int run_steps)
    : settings_(settings), dt_s_(grid.dt_s), cell_(static_cast<std::size_t>(settings.cell)) {
    if (settings_.type == SourceType::tfsf) incident_ = incident_grid(grid, run_steps);
}

void Source::after_h(FieldArrays& f, int n) {
    if (!incident_) return;
    // Hy just left of the boundary is a scattered field: take the incident Ez out of its curl.
    const double db = f.coefficients.at(static_cast<long>(cell_ - 1)).db;
    f.hy[cell_ - 1] -= db * incident_->fields().ez[incident_offset];
    incident_->update_h(n);
}

void Source::after_e(FieldArrays& f, int n) {
    const double value = source_value(settings_, n, dt_s_);
    switch (settings_.type) {
    case SourceType::hard:
        f.ez[cell_] = value;
        break;
    case SourceType::soft:
        f.ez[cell_] += value;
        break;
    case SourceType::tfsf:
        // Ez at the boundary is a total field: its curl needs the incident Hy beside it.
        f.ez[cell_] -= f.coefficients.at(static_cast<long>(cell_)).cb *
                       incident_->fields().hy[incident_offset - 1];
        incident_->update_e(n);
        incident_->fields().ez[0] = value;
        break;
    }
}

void Source::clear() {
    if (incident_) incident_->clear();
}

std::optional<std::vector<CellRange>> Source::reach() const {
    const long cell = static_cast<long>(cell_);
    return std::vector<CellRange>{{incident_ ? cell - 1 : cell, cell + 1}};
}

} // namespace lab
