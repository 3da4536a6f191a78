// Ez and Hy on a staggered one-dimensional grid, their leapfrog sweeps, and the hooks that
// act on them around each sweep (see step_hook.h).
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "lab/scenario/discretisation.h"
#include "lab/solver/field_arrays.h"
#include "lab/solver/step_hook.h"

namespace lab {

// From this many cells on, the sweeps share their work among the OpenMP team. Below it,
// waking and parking the team costs more than the loop (see the lab benchmark).
constexpr std::size_t parallel_threshold_cells = 1'000'000;

class FieldGrid {
  public:
    explicit FieldGrid(const Discretisation& grid);

    // Hooks act in the order they are added; the grid owns them.
    template <class Hook> Hook& add_hook(std::unique_ptr<Hook> hook) {
        Hook& added = *hook;
        hooks_.push_back(std::move(hook));
        return added;
    }

    void update_h(int n); // Hy from n - 1/2 to n + 1/2, then each hook's after_h
    void update_e(int n); // each hook's before_e, Ez from n to n + 1, each hook's after_e
    void clear();         // all fields and every hook back to rest

    std::size_t cells() const { return f_.ez.size(); }
    FieldArrays& fields() { return f_; }
    const FieldArrays& fields() const { return f_; }

    // Grids of at least this many cells run the sweeps on the OpenMP team; the results are
    // the same bit for bit either way.
    std::size_t parallel_threshold = parallel_threshold_cells;

  private:
    FieldArrays f_;
    std::vector<std::unique_ptr<StepHook>> hooks_;
};

} // namespace lab
