#include "lab/solver/field_grid.h"

#include <algorithm>

#include "lab/solver/materials.h"

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

} // namespace

FieldGrid::FieldGrid(const Discretisation& grid) {
    UpdateCoefficients c = update_coefficients(grid);
    f_.ca = std::move(c.ca);
    f_.cb = std::move(c.cb);
    f_.db = std::move(c.db);
    f_.ez.assign(static_cast<std::size_t>(grid.cells), 0.0);
    f_.hy.assign(static_cast<std::size_t>(grid.cells), 0.0);
}

void FieldGrid::update_h(int n) {
    const long cells_n = static_cast<long>(cells());
    double* hy = f_.hy.data();
    const double* ez = f_.ez.data();
    const double* db = f_.db.data();
    sweep(0, cells_n - 1, cells() >= parallel_threshold,
          [=](long i) { hy[i] = hy[i] + db[i] * (ez[i + 1] - ez[i]); });
    for (const std::unique_ptr<StepHook>& hook : hooks_)
        hook->after_h(f_, n);
}

void FieldGrid::update_e(int n) {
    for (const std::unique_ptr<StepHook>& hook : hooks_)
        hook->before_e(f_, n);
    const long cells_n = static_cast<long>(cells());
    double* ez = f_.ez.data();
    const double* hy = f_.hy.data();
    const double* ca = f_.ca.data();
    const double* cb = f_.cb.data();
    sweep(1, cells_n - 1, cells() >= parallel_threshold,
          [=](long i) { ez[i] = ca[i] * ez[i] + cb[i] * (hy[i] - hy[i - 1]); });
    for (const std::unique_ptr<StepHook>& hook : hooks_)
        hook->after_e(f_, n);
}

void FieldGrid::clear() {
    std::fill(f_.ez.begin(), f_.ez.end(), 0.0);
    std::fill(f_.hy.begin(), f_.hy.end(), 0.0);
    for (const std::unique_ptr<StepHook>& hook : hooks_)
        hook->clear();
}

} // namespace lab
