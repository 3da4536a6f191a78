// Update coefficients of every cell from the material layers, in the usual lossy form:
//   Ez <- ca Ez + cb (Hy[i] - Hy[i-1]),   Hy <- Hy + db (Ez[i+1] - Ez[i]).
#pragma once

#include <vector>

#include "lab/scenario/scenario.h"

namespace lab {

struct UpdateCoefficients {
    std::vector<double> ca; // decay of Ez by conductivity, per Ez node
    std::vector<double> cb; // dt / (eps dx), divided by the same loss factor, per Ez node
    std::vector<double> db; // dt / (mu dx) per Hy node (Hy[i] between Ez[i] and Ez[i+1])
};

// Relative permittivity, permeability and conductivity of each cell; vacuum outside layers.
struct CellMaterials {
    std::vector<double> eps_r, mu_r, sigma_s_per_m;
};

CellMaterials cell_materials(int cells, const std::vector<Layer>& layers);

UpdateCoefficients update_coefficients(const CellMaterials& materials, double dx_m, double dt_s);

} // namespace lab
