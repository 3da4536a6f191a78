#include "lab/solver/materials.h"

#include "lab/scenario/cell_coefficients.h"

namespace lab {

UpdateCoefficients update_coefficients(const Discretisation& grid) {
    const auto n = static_cast<std::size_t>(grid.cells);
    UpdateCoefficients c{std::vector<double>(n), std::vector<double>(n), std::vector<double>(n)};
    Material next = grid.materials.at(0);
    for (std::size_t i = 0; i < n; ++i) {
        const Material here = next;
        if (i + 1 < n) next = grid.materials.at(static_cast<int>(i + 1));
        // Hy[i] sits between two cells: it sees the mean of their permeabilities.
        const double mu_r = i + 1 < n ? 0.5 * (here.mu_r + next.mu_r) : here.mu_r;
        const CellCoefficients cell = cell_coefficients(here, mu_r, grid.dt_s, grid.dx_m);
        c.ca[i] = cell.ca;
        c.cb[i] = cell.cb;
        c.db[i] = cell.db;
    }
    return c;
}

} // namespace lab
