// A convolutional perfectly matched layer (CPML) of graded conductivity, closed by a pec
// wall at the end node. Its auxiliary fields psi add to the plain sweeps inside the layer.
#pragma once

#include <vector>

#include "lab/solver/ends/grid_end.h"

namespace lab {

class PmlEnd : public StepHook {
  public:
    PmlEnd(Side side, EndNodes nodes, const Discretisation& grid, int pml_cells);

    void after_h(FieldArrays& f, int n) override; // the pml's share of the Hy update
    void after_e(FieldArrays& f, int n) override; // its share of Ez, then the wall
    void clear() override;
    std::optional<std::vector<CellRange>> reach() const override {
        return std::vector<CellRange>{reach_};
    }

  private:
    // A node inside the pml with its recursive-convolution coefficients.
    struct Node {
        std::size_t index;
        double b;      // exp(-sigma dt / eps0)
        double a;      // b - 1 (kappa = 1, alpha = 0: no evanescent waves in one dimension)
        double update; // db of an Hy node, cb of an Ez node: what psi adds to the field by
        double psi = 0.0;
    };

    std::size_t end_;
    std::vector<Node> e_nodes_, h_nodes_;
    CellRange reach_; // from the end node to the Ez node beyond the innermost Hy node
};

} // namespace lab
