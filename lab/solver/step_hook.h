// What a step does beside the two sweeps: the ends, the source, the probes (and any later
// per-cell model, such as the polarisation of a dispersive material, updated beside Ez).
// A step runs:
//   the Hy sweep, each hook's after_h, each hook's before_e, the Ez sweep, each hook's after_e
// with the hooks in the order they were added to the grid (see Simulation::add_hooks).
#pragma once

#include <optional>
#include <vector>

#include "lab/solver/field_arrays.h"

namespace lab {

// Cells first..end-1.
struct CellRange {
    long first = 0, end = 0;
};

class StepHook {
  public:
    virtual ~StepHook() = default;

    // n is the index of the step being taken, 0 for the first.
    virtual void after_h(FieldArrays& /*fields*/, int /*n*/) {}  // Hy is at n + 1/2
    virtual void before_e(FieldArrays& /*fields*/, int /*n*/) {} // Ez still at n
    virtual void after_e(FieldArrays& /*fields*/, int /*n*/) {}  // Ez at n + 1
    // Back to rest with the fields: whatever the hook remembers between steps goes to zero.
    virtual void clear() {}
    // The cells whose Ez or Hy the hook reads or writes, when it keeps to a few: the cells
    // between such reaches may then be taken several steps at a time (temporal_blocking.h).
    // Nothing means any cell, and every step then sweeps the whole line before the hooks.
    virtual std::optional<std::vector<CellRange>> reach() const { return std::nullopt; }
};

} // namespace lab
