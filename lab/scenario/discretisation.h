// The scenario as the grid sees it: cells, cell size, time step, Courant number and the
// material of every cell. It is computed once from a scenario and handed to the checks, the
// solver and the analysis, so that none of them works any of it out again.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "lab/scenario/scenario.h"

namespace lab {

//-----------------------------------------------------------------------------
// [SECTION] Materials of the cells
//-----------------------------------------------------------------------------

struct Material {
    double eps_r = 1.0;
    double mu_r = 1.0;
    double sigma_s_per_m = 0.0; // electric conductivity
};

// Cells first..last (inclusive) all of one material.
struct MaterialSpan {
    int first = 0, last = 0;
    Material material;
};

// Which layer holds a cell, and so its material; vacuum outside every layer. It keeps the
// layers rather than an entry per cell, so that the checks can ask it of a grid of any size.
class CellMaterials {
  public:
    CellMaterials() = default;
    explicit CellMaterials(std::vector<Layer> layers);

    // Index of the layer holding the cell in the scenario's list; nothing in vacuum. Where
    // layers overlap (the checks refuse that) the later one holds the cell.
    std::optional<std::size_t> layer_at(int cell) const;
    Material at(int cell) const;
    Material of_layer(std::size_t layer) const;
    // The cells 0..cells-1 as consecutive spans, each as long as no layer starts or ends
    // within it (two neighbours may hold the same material); a line of uniform stretches
    // is answered in as many entries as it has layer edges, not cells.
    std::vector<MaterialSpan> spans(int cells) const;
    const std::vector<Layer>& layers() const { return layers_; }

  private:
    std::vector<Layer> layers_;
    // Indices of the layers by first cell, when no two overlap: a cell's layer is then
    // found by bisection, so that a grid of many layers is not searched once per cell.
    std::vector<std::size_t> by_first_;
};

//-----------------------------------------------------------------------------
// [SECTION] The grid
//-----------------------------------------------------------------------------

// dt = S dx / c0: the time step of a grid of cell dx at Courant number S.
double time_step_s(double courant, double dx_m);

// S / sqrt(eps_r mu_r): cells per step light moves in a material; above 1 the run blows up.
double local_courant(double courant, const Material& material);

struct Discretisation {
    // The scenario's grid with its layers, or with vacuum everywhere (the normalisation run
    // of a spectrum).
    explicit Discretisation(const Scenario& scenario, bool with_layers = true);
    // A vacuum line of that many cells.
    Discretisation(int cells, double dx_m, double courant);

    int cells;
    double dx_m;
    double courant; // S = c0 dt / dx
    double dt_s;
    CellMaterials materials;

    double courant_at(int cell) const { return local_courant(courant, materials.at(cell)); }
    double courant_in_layer(std::size_t layer) const {
        return local_courant(courant, materials.of_layer(layer));
    }
};

} // namespace lab
