// Ez and Hy on a staggered one-dimensional grid and their leapfrog updates:
// Hy[i] lies half a cell to the right of Ez[i]; Hy[cells - 1] lies beyond the last Ez node
// and stays zero.
#pragma once

#include <cstddef>
#include <vector>

#include "lab/solver/grid_end.h"
#include "lab/solver/materials.h"

namespace lab {

// From this many cells on, the sweeps share their work among the OpenMP team. Below it,
// waking and parking the team costs more than the loop (see the lab benchmark).
constexpr std::size_t parallel_threshold_cells = 1'000'000;

struct FieldArrays {
    std::vector<double> ez, hy;     // V/m and A/m
    std::vector<double> ca, cb, db; // update coefficients, see materials.h
};

class FieldGrid {
  public:
    FieldGrid(const CellMaterials& materials, double dx_m, double dt_s, Boundary left,
              Boundary right, int pml_cells, double courant);

    void update_h(); // Hy from n - 1/2 to n + 1/2, pml ends included
    void update_e(); // Ez from n to n + 1, ends included
    void clear();    // all fields and end memories back to zero

    std::size_t cells() const { return f_.ez.size(); }
    FieldArrays& fields() { return f_; }
    const FieldArrays& fields() const { return f_; }

    // Grids of at least this many cells run the sweeps on the OpenMP team; the results are
    // the same bit for bit either way.
    std::size_t parallel_threshold = parallel_threshold_cells;

  private:
    FieldArrays f_;
    GridEnd left_, right_;
};

} // namespace lab
