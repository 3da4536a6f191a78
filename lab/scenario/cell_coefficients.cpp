#include "lab/scenario/cell_coefficients.h"

#include "lab/scenario/constants.h"

namespace lab {

CellCoefficients cell_coefficients(const Material& here, double hy_mu_r, double dt_s, double dx_m) {
    const double eps = eps0 * here.eps_r;
    // Conductivity taken at the half step: semi-implicit, stable for any sigma.
    const double loss = here.sigma_s_per_m * dt_s / (2.0 * eps);
    return {(1.0 - loss) / (1.0 + loss), dt_s / (eps * dx_m) / (1.0 + loss),
            dt_s / (mu0 * hy_mu_r * dx_m)};
}

} // namespace lab
