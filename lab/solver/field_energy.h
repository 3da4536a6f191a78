// The electromagnetic energy the line holds, to tell when a pulse has left the grid.
#pragma once

#include "lab/solver/simulation.h"

namespace lab {

// Sum over the cells of (eps0 eps_r Ez^2 + mu0 mu_r Hy^2) dx / 2: energy per unit area of
// the line's cross-section, J/m^2.
double field_energy_j_per_m2(const Simulation& sim);

} // namespace lab
