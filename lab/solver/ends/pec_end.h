// A perfect electric conductor: Ez at the end node stays zero.
#pragma once

#include "lab/solver/ends/grid_end.h"

namespace lab {

class PecEnd : public StepHook {
  public:
    explicit PecEnd(EndNodes nodes) : end_(nodes.end) {}

    void after_e(FieldArrays& f, int /*n*/) override { f.ez[end_] = 0.0; }

  private:
    std::size_t end_;
};

} // namespace lab
