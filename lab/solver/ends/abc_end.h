// The one-step absorbing end: the end node takes its neighbour's value of one step before.
// Exact at S = 1 in vacuum, where the wave moves one cell per step.
#pragma once

#include "lab/solver/ends/grid_end.h"

namespace lab {

class AbcEnd : public StepHook {
  public:
    explicit AbcEnd(EndNodes nodes) : nodes_(nodes) {}

    void before_e(FieldArrays& f, int /*n*/) override { old_inner_ = f.ez[nodes_.inner]; }
    void after_e(FieldArrays& f, int /*n*/) override { f.ez[nodes_.end] = old_inner_; }
    void clear() override { old_inner_ = 0.0; }

    std::optional<std::vector<CellRange>> reach() const override { return nodes_.reach(); }

  private:
    EndNodes nodes_;
    double old_inner_ = 0.0; // Ez at the neighbour before the sweep
};

} // namespace lab
