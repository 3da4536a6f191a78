// The update coefficients of one cell from its material, in the usual lossy form:
//   Ez <- ca Ez + cb (Hy[i] - Hy[i-1]),   Hy <- Hy + db (Ez[i+1] - Ez[i]).
// The solver fills its arrays with them and the checks ask them of every material, so that
// a scenario whose coefficients cannot be computed is refused before it runs.
#pragma once

#include "lab/scenario/discretisation.h"

namespace lab {

struct CellCoefficients {
    double ca; // decay of Ez by conductivity
    double cb; // dt / (eps dx), divided by the same loss factor
    double db; // dt / (mu dx) of the Hy node to the cell's right
};

// hy_mu_r: the relative permeability the Hy node beside the cell sees.
CellCoefficients cell_coefficients(const Material& here, double hy_mu_r, double dt_s, double dx_m);

} // namespace lab
