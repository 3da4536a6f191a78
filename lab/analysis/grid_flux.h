// Waves as the Yee grid carries them: the wavenumber of its own dispersion relation and the
// power a travelling wave of a given Ez carries. Ez and Hy sit half a cell apart, so the
// grid's Poynting flux is Y |E|^2 cos(k dx / 2) rather than the continuum's Y |E|^2; the
// factor differs between media and would bias T into any medium but vacuum.
#pragma once

#include <optional>

#include "lab/scenario/discretisation.h"

namespace lab {

// k (rad/m) of a wave of this frequency in a lossless medium of index n on a grid of cell dx
// and Courant number S: sin(k dx / 2) = (n / S) sin(omega dt / 2). Nothing when the grid
// cannot carry the wave there (it is evanescent).
std::optional<double> grid_wavenumber_rad_per_m(double frequency_hz, double index, double dx_m,
                                                double courant);

// Time-averaged power flux of a travelling wave over |Ez|^2, in units of vacuum's
// admittance: sqrt(eps_r / mu_r) cos(k dx / 2). Zero where the wave is evanescent.
double grid_flux_per_e_squared(const Material& medium, double frequency_hz, double dx_m,
                               double courant);

} // namespace lab
