#include "lab/solver/materials.h"

#include "lab/scenario/constants.h"

namespace lab {

UpdateCoefficients update_coefficients(const Discretisation& grid) {
    const auto n = static_cast<std::size_t>(grid.cells);
    const double dt_s = grid.dt_s;
    const double dx_m = grid.dx_m;
    UpdateCoefficients c{std::vector<double>(n), std::vector<double>(n), std::vector<double>(n)};
    Material next = grid.materials.at(0);
    for (std::size_t i = 0; i < n; ++i) {
        const Material here = next;
        if (i + 1 < n) next = grid.materials.at(static_cast<int>(i + 1));
        const double eps = eps0 * here.eps_r;
        // Conductivity taken at the half step: semi-implicit, stable for any sigma.
        const double loss = here.sigma_s_per_m * dt_s / (2.0 * eps);
        c.ca[i] = (1.0 - loss) / (1.0 + loss);
        c.cb[i] = dt_s / (eps * dx_m) / (1.0 + loss);
        // Hy[i] sits between two cells: it sees the mean of their permeabilities.
        const double mu_r = i + 1 < n ? 0.5 * (here.mu_r + next.mu_r) : here.mu_r;
        c.db[i] = dt_s / (mu0 * mu_r * dx_m);
    }
    return c;
}

} // namespace lab
