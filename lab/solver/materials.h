// Update coefficients of every cell from its material, in the usual lossy form:
//   Ez <- ca Ez + cb (Hy[i] - Hy[i-1]),   Hy <- Hy + db (Ez[i+1] - Ez[i]).
#pragma once

#include <vector>

#include "lab/scenario/discretisation.h"

namespace lab {

struct UpdateCoefficients {
    std::vector<double> ca; // decay of Ez by conductivity, per Ez node
    std::vector<double> cb; // dt / (eps dx), divided by the same loss factor, per Ez node
    std::vector<double> db; // dt / (mu dx) per Hy node (Hy[i] between Ez[i] and Ez[i+1])
};

UpdateCoefficients update_coefficients(const Discretisation& grid);

} // namespace lab
