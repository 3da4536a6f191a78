// The polarisation of dispersive layers (Debye, Drude and Lorentz poles), as a hook after
// the Ez sweep. Each pole k of a cell carries P_k, with D = eps0 eps_inf E + sum_k P_k, so
// that the E update with conductivity reads
//   eps0 eps_inf (E+ - E) / dt = curl H - sigma (E+ + E) / 2 - sum_k (P_k+ - P_k) / dt.
// The plain sweep has done all but the last term; the hook subtracts it, cell by cell, on
// the dispersive cells only. Every pole advances as
//   P+ = c1 P + c2 P- + c3 E + c4 E+
// (E = E^n, E+ = E^{n+1}):
//   lorentz  centred at n: (P+ - 2P + P-)/dt^2 + g (P+ - P-)/(2 dt) + w0^2 P = eps0 de w0^2 E
//   drude    the same with w0 = 0 and de w0^2 replaced by wp^2
//   debye    bilinear: tau (P+ - P)/dt + (P+ + P)/2 = eps0 de (E+ + E)/2
// Debye takes E+ because its form centred at n, with E alone, blows up for a strong pole
// such as water's (its discrete susceptibility is -de at half the step rate).
#pragma once

#include <vector>

#include "lab/scenario/discretisation.h"
#include "lab/solver/step_hook.h"

namespace lab {

struct PoleCoefficients {
    double c1 = 0.0, c2 = 0.0, c3 = 0.0, c4 = 0.0; // c3, c4 in C/(V m) (eps0 folded in)
};

PoleCoefficients pole_coefficients(const Pole& pole, double dt_s);

// Whether any cell of the grid has a pole: without one the hook is not added at all.
bool has_poles(const Discretisation& grid);

class Polarisation : public StepHook {
  public:
    explicit Polarisation(const Discretisation& grid);

    void after_e(FieldArrays& fields, int n) override;
    void clear() override;
    std::optional<std::vector<CellRange>> reach() const override; // the dispersive cells

  private:
    // The cells of one dispersive layer that the Ez sweep updates; its poles' states lie
    // cell by cell, pole by pole within a cell.
    struct Block {
        long first = 0, count = 0;
        double e_from_p = 0.0; // 1 / (eps0 eps_inf (1 + sigma dt / (2 eps0 eps_inf))), m/F
        double e_scale = 1.0;  // 1 / (1 + e_from_p sum c4): the implicit part of debye poles
        std::vector<PoleCoefficients> poles;
        std::vector<double> e_previous;    // E^n per cell, as corrected last step
        std::vector<double> p, p_previous; // P^n and P^{n-1}, C/m^2
    };

    void advance(Block& block, double* ez) const;
    void advance_one_pole(Block& block, double* ez) const;

    std::vector<Block> blocks_;
};

} // namespace lab
