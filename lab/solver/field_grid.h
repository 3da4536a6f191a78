// Ez and Hy on a staggered one-dimensional grid, their leapfrog sweeps, and the hooks that
// act on them around each sweep (see step_hook.h).
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "lab/scenario/discretisation.h"
#include "lab/solver/field_arrays.h"
#include "lab/solver/step_hook.h"
#include "lab/solver/temporal_blocking.h"

namespace lab {

// From this many cells on, the sweeps share their work among the OpenMP team. Below it,
// waking and parking the team costs more than the loop (see the lab benchmark).
constexpr std::size_t parallel_threshold_cells = 1'000'000;

// Called once step n is complete at the hooks' cells; false stops the run there.
using AfterStep = std::function<bool(int n)>;

class FieldGrid {
  public:
    explicit FieldGrid(const Discretisation& grid);

    // Hooks act in the order they are added; the grid owns them. The second form is for a
    // hook whose cells its owner knows better than the hook says (see StepHook::reach).
    template <class Hook> Hook& add_hook(std::unique_ptr<Hook> hook) {
        std::optional<std::vector<CellRange>> reach = hook->reach();
        return add_hook(std::move(hook), std::move(reach));
    }
    template <class Hook>
    Hook& add_hook(std::unique_ptr<Hook> hook, std::optional<std::vector<CellRange>> reach) {
        Hook& added = *hook;
        hooks_.push_back(std::move(hook));
        reaches_.push_back(std::move(reach));
        return added;
    }

    void update_h(int n); // Hy from n - 1/2 to n + 1/2, then each hook's after_h
    void update_e(int n); // each hook's before_e, Ez from n to n + 1, each hook's after_e
    void clear();         // all fields and every hook back to rest

    // Steps first_step .. first_step + count - 1, in blocks when the grid is long enough and
    // may_block (whoever watches the steps reads no more than the hooks' cells). Between
    // after_step calls of a block only the hooks' cells are in step; all are on return.
    void advance(int first_step, int count, bool may_block, const AfterStep& after_step);

    std::size_t cells() const { return f_.ez.size(); }
    FieldArrays& fields() { return f_; }
    const FieldArrays& fields() const { return f_; }

    // Grids of at least this many cells run the sweeps on the OpenMP team; the results are
    // the same bit for bit either way.
    std::size_t parallel_threshold = parallel_threshold_cells;
    // When and how advance takes steps in blocks; the same bits as plain steps either way.
    BlockingSettings blocking;

  private:
    bool plain_steps(int first_step, int count, const AfterStep& after_step);
    BlockPlan plan_for(int steps) const;
    bool advance_block(const BlockPlan& plan, int first_step, int count,
                       const AfterStep& after_step);
    bool shared() const { return cells() >= parallel_threshold; }

    FieldArrays f_;
    std::vector<std::unique_ptr<StepHook>> hooks_;
    std::vector<std::optional<std::vector<CellRange>>> reaches_; // one per hook
};

} // namespace lab
