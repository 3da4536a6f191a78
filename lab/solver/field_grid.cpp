#include "lab/solver/field_grid.h"

#include <cmath>

namespace lab {

namespace {

// Runs body(i) for i in [first, last): on the OpenMP team (one contiguous block per thread)
// when shared, else on the calling thread without entering the runtime at all. Each
// iteration writes one element from values no other iteration writes, so the result does
// not depend on the team size.
template <class Body> void sweep(long first, long last, bool shared, const Body& body) {
    if (!shared) {
        for (long i = first; i < last; ++i)
            body(i);
        return;
    }
#pragma omp parallel for schedule(static)
    for (long i = first; i < last; ++i)
        body(i);
}

double courant_in(const CellMaterials& m, std::size_t i, double courant) {
    return courant / std::sqrt(m.eps_r[i] * m.mu_r[i]);
}

} // namespace

FieldGrid::FieldGrid(const CellMaterials& m, double dx_m, double dt_s, Boundary left,
                     Boundary right, int pml_cells, double courant)
    : left_(Side::left, left, static_cast<int>(m.eps_r.size()), pml_cells, dt_s, dx_m,
            courant_in(m, 0, courant)),
      right_(Side::right, right, static_cast<int>(m.eps_r.size()), pml_cells, dt_s, dx_m,
             courant_in(m, m.eps_r.size() - 1, courant)) {
    UpdateCoefficients c = update_coefficients(m, dx_m, dt_s);
    f_.ca = std::move(c.ca);
    f_.cb = std::move(c.cb);
    f_.db = std::move(c.db);
    f_.ez.assign(m.eps_r.size(), 0.0);
    f_.hy.assign(m.eps_r.size(), 0.0);
}

void FieldGrid::update_h() {
    const long n = static_cast<long>(cells());
    double* hy = f_.hy.data();
    const double* ez = f_.ez.data();
    const double* db = f_.db.data();
    sweep(0, n - 1, cells() >= parallel_threshold,
          [=](long i) { hy[i] = hy[i] + db[i] * (ez[i + 1] - ez[i]); });
    left_.correct_h(f_);
    right_.correct_h(f_);
}

void FieldGrid::update_e() {
    left_.remember(f_);
    right_.remember(f_);
    const long n = static_cast<long>(cells());
    double* ez = f_.ez.data();
    const double* hy = f_.hy.data();
    const double* ca = f_.ca.data();
    const double* cb = f_.cb.data();
    sweep(1, n - 1, cells() >= parallel_threshold,
          [=](long i) { ez[i] = ca[i] * ez[i] + cb[i] * (hy[i] - hy[i - 1]); });
    left_.finish_e(f_);
    right_.finish_e(f_);
}

void FieldGrid::clear() {
    std::fill(f_.ez.begin(), f_.ez.end(), 0.0);
    std::fill(f_.hy.begin(), f_.hy.end(), 0.0);
    left_.clear();
    right_.clear();
}

} // namespace lab
