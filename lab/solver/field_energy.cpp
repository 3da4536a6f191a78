#include "lab/solver/field_energy.h"

#include "lab/scenario/constants.h"

namespace lab {

double field_energy_j_per_m2(const Simulation& sim) {
    const Discretisation& grid = sim.discretisation();
    const std::vector<double>& ez = sim.ez();
    const std::vector<double>& hy = sim.hy();
    double energy = 0.0;
    for (std::size_t i = 0; i < ez.size(); ++i) {
        const Material m = grid.materials.at(static_cast<int>(i));
        energy += eps0 * m.eps_r * ez[i] * ez[i] + mu0 * m.mu_r * hy[i] * hy[i];
    }
    return 0.5 * energy * grid.dx_m;
}

} // namespace lab
