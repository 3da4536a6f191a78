// A perfect magnetic conductor: Hy beyond the end node is zero, so the end node is updated
// from the one Hy beside it.
#pragma once

#include "lab/solver/ends/grid_end.h"

namespace lab {

class PmcEnd : public StepHook {
  public:
    PmcEnd(Side side, EndNodes nodes) : side_(side), end_(nodes.end) {}

    void after_e(FieldArrays& f, int /*n*/) override {
        const double curl = side_ == Side::left ? f.hy[end_] : -f.hy[end_ - 1];
        f.ez[end_] = f.ca[end_] * f.ez[end_] + f.cb[end_] * curl;
    }

  private:
    Side side_;
    std::size_t end_;
};

} // namespace lab
