#include "lab/solver/ends/pml_end.h"

#include <cmath>

#include "lab/scenario/constants.h"

namespace lab {

namespace {

// Grading of the pml conductivity, sigma(d) = sigma_max d^m with d the depth from 0 to 1,
// and sigma_max = 0.8 (m + 1) / (eta0 dx), the usual choice for a polynomial profile.
constexpr double pml_grading_order = 3.0;
constexpr double pml_sigma_scale = 0.8;

} // namespace

PmlEnd::PmlEnd(Side side, EndNodes nodes, const Discretisation& grid, int pml_cells)
    : end_(nodes.end) {
    const double p = pml_cells;
    const double sigma_max = pml_sigma_scale * (pml_grading_order + 1.0) / (eta0 * grid.dx_m);
    const CoefficientSpans coefficients(grid);
    const auto node = [&](std::size_t index, double depth_cells, bool hy) {
        const double sigma = sigma_max * std::pow(depth_cells / p, pml_grading_order);
        const double b = std::exp(-sigma * grid.dt_s / eps0);
        const CellCoefficients& c = coefficients.at(static_cast<long>(index));
        return Node{index, b, b - 1.0, hy ? c.db : c.cb};
    };
    // The pml's inner edge lies p cells from the end node; depth grows towards the wall.
    const double end = static_cast<double>(end_);
    for (int k = 1; k < pml_cells; ++k) { // Ez nodes between edge and wall
        const double x = side == Side::left ? end + k : end - k;
        e_nodes_.push_back(node(static_cast<std::size_t>(x), p - k, false));
    }
    for (int k = 0; k < pml_cells; ++k) { // Hy nodes, half a cell off the Ez nodes
        const double x = side == Side::left ? end + k : end - k - 1;
        h_nodes_.push_back(node(static_cast<std::size_t>(x), p - k - 0.5, true));
    }
    const long wall = static_cast<long>(end_);
    reach_ = side == Side::left ? CellRange{wall, wall + pml_cells + 1}
                                : CellRange{wall - pml_cells, wall + 1};
}

void PmlEnd::after_h(FieldArrays& f, int /*n*/) {
    for (Node& n : h_nodes_) {
        n.psi = n.b * n.psi + n.a * (f.ez[n.index + 1] - f.ez[n.index]);
        f.hy[n.index] += n.update * n.psi;
    }
}

void PmlEnd::after_e(FieldArrays& f, int /*n*/) {
    for (Node& n : e_nodes_) {
        n.psi = n.b * n.psi + n.a * (f.hy[n.index] - f.hy[n.index - 1]);
        f.ez[n.index] += n.update * n.psi;
    }
    f.ez[end_] = 0.0;
}

void PmlEnd::clear() {
    for (Node& n : e_nodes_)
        n.psi = 0.0;
    for (Node& n : h_nodes_)
        n.psi = 0.0;
}

} // namespace lab
