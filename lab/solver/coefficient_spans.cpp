#include "lab/solver/coefficient_spans.h"

#include <algorithm>

namespace lab {

namespace {

bool same(const CellCoefficients& a, const CellCoefficients& b) {
    return a.ca == b.ca && a.cb == b.cb && a.db == b.db;
}

} // namespace

CoefficientSpans::CoefficientSpans(const Discretisation& grid) {
    const auto add = [&](long first, long end, const CellCoefficients& c) {
        if (end <= first) return;
        if (!spans_.empty() && same(spans_.back().c, c))
            spans_.back().end = end;
        else
            spans_.push_back({first, end, c});
    };
    const std::vector<MaterialSpan> materials = grid.materials.spans(grid.cells);
    for (std::size_t k = 0; k < materials.size(); ++k) {
        const Material& here = materials[k].material;
        const long first = materials[k].first, last = materials[k].last;
        // Hy[i] sits between two cells and sees the mean of their permeabilities: inside the
        // span both are the span's own, at its last cell the second is the next span's (and
        // the last cell of the grid has no neighbour: its own).
        const bool grid_end = k + 1 == materials.size();
        const double inner_mu_r = 0.5 * (here.mu_r + here.mu_r);
        const double edge_mu_r =
            grid_end ? here.mu_r : 0.5 * (here.mu_r + materials[k + 1].material.mu_r);
        add(first, last, cell_coefficients(here, inner_mu_r, grid.dt_s, grid.dx_m));
        add(last, last + 1, cell_coefficients(here, edge_mu_r, grid.dt_s, grid.dx_m));
    }
}

std::size_t CoefficientSpans::span_at(long cell) const {
    const auto after =
        std::upper_bound(spans_.begin(), spans_.end(), cell,
                         [](long c, const CoefficientSpan& s) { return c < s.first; });
    return static_cast<std::size_t>(after - spans_.begin()) - 1;
}

} // namespace lab
