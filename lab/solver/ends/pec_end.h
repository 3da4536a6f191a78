// A perfect electric conductor: Ez at the end node stays zero.
#pragma once

#include "lab/solver/ends/grid_end.h"

namespace lab {

class PecEnd : public StepHook {
  public:
    explicit PecEnd(EndNodes nodes) : end_(nodes.end) {}

    void after_e(FieldArrays& f, int /*n*/) override { f.ez[end_] = 0.0; }
    std::optional<std::vector<CellRange>> reach() const override {
        return std::vector<CellRange>{{static_cast<long>(end_), static_cast<long>(end_) + 1}};
    }

  private:
    std::size_t end_;
};

} // namespace lab
