// What happens at one end of the grid: pec, pmc, the one-step abc, first-order Mur, or a
// convolutional perfectly matched layer (CPML) closed by a pec wall.
#pragma once

#include <cstddef>
#include <vector>

#include "lab/scenario/scenario.h"

namespace lab {

struct FieldArrays; // Ez, Hy and the update coefficients, see field_grid.h

class GridEnd {
  public:
    // local_courant is c dt / dx in the end cell's material (S / sqrt(eps_r mu_r)).
    GridEnd(Side side, Boundary kind, int cells, int pml_cells, double dt_s, double dx_m,
            double local_courant);

    Boundary kind() const { return kind_; }

    // The pml's share of the Hy update, after the plain sweep.
    void correct_h(FieldArrays& f);
    // Remembers the end values an abc or Mur end needs, before the Ez sweep.
    void remember(const FieldArrays& f);
    // The pml's share of the Ez update and the end node itself, after the Ez sweep.
    void finish_e(FieldArrays& f);
    // Back to rest (auxiliary fields and remembered values zero).
    void clear();

  private:
    // A node inside the pml with its recursive-convolution coefficients.
    struct PmlNode {
        std::size_t index;
        double b; // exp(-sigma dt / eps0)
        double a; // b - 1 (kappa = 1, alpha = 0: no evanescent waves in one dimension)
        double psi = 0.0;
    };
    void build_pml(int pml_cells, double dt_s, double dx_m);

    Side side_;
    Boundary kind_;
    std::size_t end_;   // the Ez node at this end
    std::size_t inner_; // its neighbour
    double mur_factor_; // (c dt - dx) / (c dt + dx)
    double old_end_ = 0.0;
    double old_inner_ = 0.0;
    std::vector<PmlNode> pml_e_, pml_h_;
};

} // namespace lab
