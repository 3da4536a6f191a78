#include "lab/scenario/discretisation.h"

#include <cmath>

#include "lab/scenario/constants.h"

namespace lab {

std::optional<std::size_t> CellMaterials::layer_at(int cell) const {
    for (std::size_t i = layers_.size(); i-- > 0;)
        if (cell >= layers_[i].first && cell <= layers_[i].last) return i;
    return std::nullopt;
}

Material CellMaterials::at(int cell) const {
    const std::optional<std::size_t> layer = layer_at(cell);
    return layer ? of_layer(*layer) : Material{};
}

Material CellMaterials::of_layer(std::size_t layer) const {
    const Layer& l = layers_[layer];
    return {l.eps_r, l.mu_r, l.sigma_s_per_m};
}

double time_step_s(double courant, double dx_m) { return courant * dx_m / c0; }

double local_courant(double courant, const Material& m) {
    return courant / std::sqrt(m.eps_r * m.mu_r);
}

Discretisation::Discretisation(const Scenario& s, bool with_layers)
    : Discretisation(s.grid.cells, s.grid.cell_size_m, s.grid.courant) {
    if (with_layers) materials = CellMaterials(s.layers);
}

Discretisation::Discretisation(int cells, double dx_m, double courant)
    : cells(cells), dx_m(dx_m), courant(courant), dt_s(time_step_s(courant, dx_m)) {}

} // namespace lab
