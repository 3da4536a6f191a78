#include "lab/solver/materials.h"

#include "lab/scenario/constants.h"

namespace lab {

CellMaterials cell_materials(int cells, const std::vector<Layer>& layers) {
    const auto n = static_cast<std::size_t>(cells);
    CellMaterials m{std::vector<double>(n, 1.0), std::vector<double>(n, 1.0),
                    std::vector<double>(n, 0.0)};
    for (const Layer& layer : layers) {
        for (int i = layer.first; i <= layer.last; ++i) {
            const auto k = static_cast<std::size_t>(i);
            m.eps_r[k] = layer.eps_r;
            m.mu_r[k] = layer.mu_r;
            m.sigma_s_per_m[k] = layer.sigma_s_per_m;
        }
    }
    return m;
}

UpdateCoefficients update_coefficients(const CellMaterials& m, double dx_m, double dt_s) {
    const std::size_t n = m.eps_r.size();
    UpdateCoefficients c{std::vector<double>(n), std::vector<double>(n), std::vector<double>(n)};
    for (std::size_t i = 0; i < n; ++i) {
        const double eps = eps0 * m.eps_r[i];
        // Conductivity taken at the half step: semi-implicit, stable for any sigma.
        const double loss = m.sigma_s_per_m[i] * dt_s / (2.0 * eps);
        c.ca[i] = (1.0 - loss) / (1.0 + loss);
        c.cb[i] = dt_s / (eps * dx_m) / (1.0 + loss);
        // Hy[i] sits between two cells: it sees the mean of their permeabilities.
        const double mu_r = i + 1 < n ? 0.5 * (m.mu_r[i] + m.mu_r[i + 1]) : m.mu_r[i];
        c.db[i] = dt_s / (mu0 * mu_r * dx_m);
    }
    return c;
}

} // namespace lab
