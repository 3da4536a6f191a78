// Several steps at once for the plain cells of a long line, so that main memory is crossed
// once per block of steps rather than twice per step.
//
// The hooks' reaches and the two end nodes are zones; the plain cells between them are cut
// into chunks. A block of T steps runs in two phases:
//  1. each chunk [P, Q) goes through all T steps alone, its edges closing in one node per
//     step (at step t: Hy on [P + t, Q - t), Ez on [P + t + 1, Q - t)): everything it needs
//     lies inside. Within it, tiles that fit the cache go left to right, each leaning left by
//     one node per step, so that a tile finds its left neighbour's values at the level it
//     needs and leaves its own for the next.
//  2. step by step, each zone [z0, z1) is swept over what the chunks left out, widening one
//     node per step (Hy on [z0 - t, z1 + t), Ez on [z0 - t, z1 + t + 1)), and the hooks act
//     as in a plain step. Every node inside a zone is at exactly the level of a plain step
//     when the hooks see it.
// Each node goes through the same operations on the same values as in plain steps: the
// results are the same bit for bit, for any team size.
#pragma once

#include <cstddef>
#include <vector>

#include "lab/solver/field_arrays.h"
#include "lab/solver/step_hook.h"

namespace lab {

struct BlockingSettings {
    int steps = 32;                       // steps of a block
    long tile_cells = 8192;               // Ez and Hy of a tile: 128 KiB, well inside L2
    std::size_t threshold_cells = 10'000; // below it a block costs what it saves
};

struct BlockPlan {
    std::vector<CellRange> zones;  // stepped one step at a time, with the hooks
    std::vector<CellRange> chunks; // plain cells, each taken through a block by one thread
};

// Zones from the reaches (merged where fewer than a few blocks' worth of plain cells lie
// between them), chunks of the plain cells between, about a share of the team each.
BlockPlan plan_block(long cells, std::vector<CellRange> reaches, int steps, int team);

// Phase 1 for one chunk.
void advance_chunk(FieldArrays& f, CellRange chunk, int steps, long tile_cells);

// Phase 2's sweeps of step t of the block (0 for the first).
void sweep_zones_hy(FieldArrays& f, const std::vector<CellRange>& zones, int t);
void sweep_zones_ez(FieldArrays& f, const std::vector<CellRange>& zones, int t);

} // namespace lab
