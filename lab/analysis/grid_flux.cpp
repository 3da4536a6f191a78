#include "lab/analysis/grid_flux.h"

#include <cmath>

#include "lab/scenario/constants.h"

namespace lab {

std::optional<double> grid_wavenumber_rad_per_m(double frequency_hz, double index, double dx_m,
                                                double courant) {
    const double dt_s = time_step_s(courant, dx_m);
    const double omega = 2.0 * pi * frequency_hz;
    const double sine_half_k_dx = index / courant * std::sin(omega * dt_s / 2.0);
    if (!(sine_half_k_dx < 1.0)) return std::nullopt;
    return 2.0 / dx_m * std::asin(sine_half_k_dx);
}

double grid_flux_per_e_squared(const Material& medium, double frequency_hz, double dx_m,
                               double courant) {
    const double index = std::sqrt(medium.eps_r * medium.mu_r);
    const std::optional<double> k = grid_wavenumber_rad_per_m(frequency_hz, index, dx_m, courant);
    if (!k) return 0.0;
    return std::sqrt(medium.eps_r / medium.mu_r) * std::cos(*k * dx_m / 2.0);
}

} // namespace lab
