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
        const CellCoefficients& c = f.coefficients.at(static_cast<long>(end_));
        f.ez[end_] = c.ca * f.ez[end_] + c.cb * curl;
    }
    // The end node and the Hy node beside it.
    std::optional<std::vector<CellRange>> reach() const override {
        const long end = static_cast<long>(end_);
        return std::vector<CellRange>{{side_ == Side::left ? end : end - 1, end + 1}};
    }

  private:
    Side side_;
    std::size_t end_;
};

} // namespace lab
