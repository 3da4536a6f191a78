#include "lab/solver/ends/grid_end.h"

#include "lab/solver/ends/abc_end.h"
#include "lab/solver/ends/mur_end.h"
#include "lab/solver/ends/pec_end.h"
#include "lab/solver/ends/pmc_end.h"
#include "lab/solver/ends/pml_end.h"

namespace lab {

std::unique_ptr<StepHook> make_grid_end(Side side, Boundary kind, const Discretisation& grid,
                                        int pml_cells) {
    const EndNodes nodes(side, grid.cells);
    switch (kind) {
    case Boundary::pec:
        return std::make_unique<PecEnd>(nodes);
    case Boundary::pmc:
        return std::make_unique<PmcEnd>(side, nodes);
    case Boundary::abc:
        return std::make_unique<AbcEnd>(nodes);
    case Boundary::mur:
        return std::make_unique<MurEnd>(nodes, grid.courant_at(static_cast<int>(nodes.end)));
    case Boundary::pml:
        return std::make_unique<PmlEnd>(side, nodes, grid, pml_cells);
    }
    return nullptr;
}

} // namespace lab
