// What happens at one end of the grid, as a hook of the step: pec, pmc, the one-step abc,
// first-order Mur, or a convolutional perfectly matched layer closed by a pec wall. Each kind
// is a class of its own file; make_grid_end is the one place that knows them all.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>

#include "lab/scenario/discretisation.h"
#include "lab/solver/step_hook.h"

namespace lab {

// The Ez node at one end and its neighbour inside the grid.
struct EndNodes {
    EndNodes(Side side, int cells)
        : end(side == Side::left ? 0 : static_cast<std::size_t>(cells - 1)),
          inner(side == Side::left ? 1 : static_cast<std::size_t>(cells - 2)) {}

    // The two nodes, as a hook's reach.
    std::vector<CellRange> reach() const {
        const auto low = static_cast<long>(std::min(end, inner));
        return {{low, low + 2}};
    }

    std::size_t end;
    std::size_t inner;
};

// pml_cells is the thickness of a pml end and unused by the others.
std::unique_ptr<StepHook> make_grid_end(Side side, Boundary kind, const Discretisation& grid,
                                        int pml_cells);

} // namespace lab
