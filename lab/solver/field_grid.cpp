#include "lab/solver/field_grid.h"

#include <omp.h>

#include <algorithm>

#include "lab/solver/sweeps.h"

namespace lab {

namespace {

// Runs sweep(range) over nodes: on the OpenMP team (one contiguous share per thread) when
// shared, else on the calling thread without entering the runtime at all.
template <class Sweep> void sweep_shared(CellRange nodes, bool shared, const Sweep& sweep) {
    if (!shared) {
        sweep(nodes);
        return;
    }
#pragma omp parallel
    {
        const long team = omp_get_num_threads(), me = omp_get_thread_num();
        const long size = nodes.end - nodes.first;
        sweep(CellRange{nodes.first + size * me / team, nodes.first + size * (me + 1) / team});
    }
}

} // namespace

FieldGrid::FieldGrid(const Discretisation& grid) {
    f_.coefficients = CoefficientSpans(grid);
    f_.ez.assign(static_cast<std::size_t>(grid.cells), 0.0);
    f_.hy.assign(static_cast<std::size_t>(grid.cells), 0.0);
}

void FieldGrid::update_h(int n) {
    sweep_shared(hy_nodes(static_cast<long>(cells())), shared(),
                 [this](CellRange nodes) { sweep_hy(f_, nodes); });
    for (const std::unique_ptr<StepHook>& hook : hooks_)
        hook->after_h(f_, n);
}

void FieldGrid::update_e(int n) {
    for (const std::unique_ptr<StepHook>& hook : hooks_)
        hook->before_e(f_, n);
    sweep_shared(ez_nodes(static_cast<long>(cells())), shared(),
                 [this](CellRange nodes) { sweep_ez(f_, nodes); });
    for (const std::unique_ptr<StepHook>& hook : hooks_)
        hook->after_e(f_, n);
}

void FieldGrid::clear() {
    std::fill(f_.ez.begin(), f_.ez.end(), 0.0);
    std::fill(f_.hy.begin(), f_.hy.end(), 0.0);
    for (const std::unique_ptr<StepHook>& hook : hooks_)
        hook->clear();
}

//-----------------------------------------------------------------------------
// [SECTION] Several steps
//-----------------------------------------------------------------------------

void FieldGrid::advance(int first_step, int count, bool may_block, const AfterStep& after_step) {
    const bool blocks = may_block && cells() >= blocking.threshold_cells;
    const int end = first_step + count;
    for (int n = first_step; n < end;) {
        const int block = blocks ? std::min(std::max(blocking.steps, 1), end - n) : 1;
        const BlockPlan plan = block > 1 ? plan_for(block) : BlockPlan{};
        const bool going = plan.chunks.empty() ? plain_steps(n, block, after_step)
                                               : advance_block(plan, n, block, after_step);
        if (!going) return;
        n += block;
    }
}

bool FieldGrid::plain_steps(int first_step, int count, const AfterStep& after_step) {
    for (int n = first_step; n < first_step + count; ++n) {
        update_h(n);
        update_e(n);
        if (!after_step(n)) return false;
    }
    return true;
}

// The zones and chunks of a block of that many steps; none when a hook may touch any cell.
BlockPlan FieldGrid::plan_for(int steps) const {
    std::vector<CellRange> joint;
    for (const std::optional<std::vector<CellRange>>& reach : reaches_) {
        if (!reach) return {};
        joint.insert(joint.end(), reach->begin(), reach->end());
    }
    const int team = shared() ? omp_get_max_threads() : 1;
    return plan_block(static_cast<long>(cells()), std::move(joint), steps, team);
}

// One block (see temporal_blocking.h): the chunks on the team, then the zones step by step
// with the hooks. False once after_step has stopped the run.
bool FieldGrid::advance_block(const BlockPlan& plan, int first_step, int count,
                              const AfterStep& after_step) {
    const long chunks = static_cast<long>(plan.chunks.size());
#pragma omp parallel for schedule(dynamic, 1) if (shared())
    for (long k = 0; k < chunks; ++k)
        advance_chunk(f_, plan.chunks[static_cast<std::size_t>(k)], count, blocking.tile_cells);
    for (int t = 0; t < count; ++t) {
        const int n = first_step + t;
        sweep_zones_hy(f_, plan.zones, t);
        for (const std::unique_ptr<StepHook>& hook : hooks_)
            hook->after_h(f_, n);
        for (const std::unique_ptr<StepHook>& hook : hooks_)
            hook->before_e(f_, n);
        sweep_zones_ez(f_, plan.zones, t);
        for (const std::unique_ptr<StepHook>& hook : hooks_)
            hook->after_e(f_, n);
        if (!after_step(n)) return false;
    }
    return true;
}

} // namespace lab
