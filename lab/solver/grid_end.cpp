#include "lab/solver/grid_end.h"

#include <cmath>

#include "lab/scenario/constants.h"
#include "lab/solver/field_grid.h"

namespace lab {

namespace {

// Grading of the pml conductivity, sigma(d) = sigma_max d^m with d the depth from 0 to 1,
// and sigma_max = 0.8 (m + 1) / (eta0 dx), the usual choice for a polynomial profile.
constexpr double pml_grading_order = 3.0;
constexpr double pml_sigma_scale = 0.8;

} // namespace

GridEnd::GridEnd(Side side, Boundary kind, int cells, int pml_cells, double dt_s, double dx_m,
                 double local_courant)
    : side_(side), kind_(kind), end_(side == Side::left ? 0 : static_cast<std::size_t>(cells - 1)),
      inner_(side == Side::left ? 1 : static_cast<std::size_t>(cells - 2)),
      mur_factor_((local_courant - 1.0) / (local_courant + 1.0)) {
    if (kind == Boundary::pml) build_pml(pml_cells, dt_s, dx_m);
}

void GridEnd::build_pml(int pml_cells, double dt_s, double dx_m) {
    const double p = pml_cells;
    const double sigma_max = pml_sigma_scale * (pml_grading_order + 1.0) / (eta0 * dx_m);
    const auto node = [&](std::size_t index, double depth_cells) {
        const double sigma = sigma_max * std::pow(depth_cells / p, pml_grading_order);
        const double b = std::exp(-sigma * dt_s / eps0);
        return PmlNode{index, b, b - 1.0};
    };
    // The pml's inner edge lies p cells from the end node; depth grows towards the wall.
    const double end = static_cast<double>(end_);
    for (int k = 1; k < pml_cells; ++k) { // Ez nodes between edge and wall
        const double x = side_ == Side::left ? end + k : end - k;
        pml_e_.push_back(node(static_cast<std::size_t>(x), p - k));
    }
    for (int k = 0; k < pml_cells; ++k) { // Hy nodes, half a cell off the Ez nodes
        const double x = side_ == Side::left ? end + k : end - k - 1;
        pml_h_.push_back(node(static_cast<std::size_t>(x), p - k - 0.5));
    }
}

void GridEnd::correct_h(FieldArrays& f) {
    for (PmlNode& n : pml_h_) {
        n.psi = n.b * n.psi + n.a * (f.ez[n.index + 1] - f.ez[n.index]);
        f.hy[n.index] += f.db[n.index] * n.psi;
    }
}

void GridEnd::remember(const FieldArrays& f) {
    old_end_ = f.ez[end_];
    old_inner_ = f.ez[inner_];
}

void GridEnd::finish_e(FieldArrays& f) {
    for (PmlNode& n : pml_e_) {
        n.psi = n.b * n.psi + n.a * (f.hy[n.index] - f.hy[n.index - 1]);
        f.ez[n.index] += f.cb[n.index] * n.psi;
    }
    double& ez = f.ez[end_];
    switch (kind_) {
    case Boundary::pec:
    case Boundary::pml:
        ez = 0.0;
        break;
    case Boundary::pmc: { // Hy beyond the end is zero
        const double curl = side_ == Side::left ? f.hy[end_] : -f.hy[end_ - 1];
        ez = f.ca[end_] * ez + f.cb[end_] * curl;
        break;
    }
    case Boundary::abc: // exact at S = 1 in vacuum: the wave moves one cell per step
        ez = old_inner_;
        break;
    case Boundary::mur:
        ez = old_inner_ + mur_factor_ * (f.ez[inner_] - old_end_);
        break;
    }
}

void GridEnd::clear() {
    old_end_ = old_inner_ = 0.0;
    for (PmlNode& n : pml_e_)
        n.psi = 0.0;
    for (PmlNode& n : pml_h_)
        n.psi = 0.0;
}

} // namespace lab
