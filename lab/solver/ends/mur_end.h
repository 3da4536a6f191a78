// First-order Mur end: Ez_end(n+1) = Ez_inner(n) + k (Ez_inner(n+1) - Ez_end(n)) with
// k = (c dt - dx) / (c dt + dx) in the end cell's material.
#pragma once

#include "lab/solver/ends/grid_end.h"

namespace lab {

class MurEnd : public StepHook {
  public:
    // local_courant is c dt / dx in the end cell's material.
    MurEnd(EndNodes nodes, double local_courant)
        : nodes_(nodes), factor_((local_courant - 1.0) / (local_courant + 1.0)) {}

    void before_e(FieldArrays& f, int /*n*/) override {
        old_end_ = f.ez[nodes_.end];
        old_inner_ = f.ez[nodes_.inner];
    }
    void after_e(FieldArrays& f, int /*n*/) override {
        f.ez[nodes_.end] = old_inner_ + factor_ * (f.ez[nodes_.inner] - old_end_);
    }
    void clear() override { old_end_ = old_inner_ = 0.0; }

    std::optional<std::vector<CellRange>> reach() const override { return nodes_.reach(); }

  private:
    EndNodes nodes_;
    double factor_;
    double old_end_ = 0.0; // Ez at the end and its neighbour before the sweep
    double old_inner_ = 0.0;
};

} // namespace lab
