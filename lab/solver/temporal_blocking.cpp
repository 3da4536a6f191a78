#include "lab/solver/temporal_blocking.h"

#include <algorithm>

#include "lab/solver/sweeps.h"

namespace lab {

namespace {

// A chunk closes in by two nodes a step, so it needs 2 T nodes; below a few times that its
// cells are swept with the zones beside it.
constexpr long least_chunk_blocks = 4;
// With a team, chunks of about this fraction of a thread's share, so that a thread done
// early takes another.
constexpr long chunks_per_thread = 4;

CellRange clipped(CellRange r, CellRange to) {
    return {std::max(r.first, to.first), std::min(r.end, to.end)};
}

// The reaches and the two end nodes, sorted and merged where less than least_gap lies
// between them.
std::vector<CellRange> merged_zones(long cells, std::vector<CellRange> reaches, long least_gap) {
    reaches.push_back({0, 1});
    reaches.push_back({cells - 1, cells});
    std::sort(reaches.begin(), reaches.end(),
              [](const CellRange& a, const CellRange& b) { return a.first < b.first; });
    std::vector<CellRange> zones;
    for (CellRange r : reaches) {
        r = clipped(r, {0, cells});
        r.end = std::max(r.end, r.first);
        if (!zones.empty() && r.first < zones.back().end + least_gap)
            zones.back().end = std::max(zones.back().end, r.end);
        else
            zones.push_back(r);
    }
    return zones;
}

} // namespace

BlockPlan plan_block(long cells, std::vector<CellRange> reaches, int steps, int team) {
    const long least_chunk = least_chunk_blocks * steps;
    const std::vector<CellRange> zones = merged_zones(cells, std::move(reaches), least_chunk);
    long plain = 0;
    for (std::size_t k = 0; k + 1 < zones.size(); ++k)
        plain += zones[k + 1].first - zones[k].end;
    const long piece =
        team > 1 ? std::max(least_chunk, plain / (chunks_per_thread * team) + 1) : plain + 1;
    BlockPlan plan;
    for (std::size_t k = 0; k + 1 < zones.size(); ++k) {
        plan.zones.push_back(zones[k]);
        // The gap up to the next zone in pieces of equal size; the cuts are zones of no cell.
        const long first = zones[k].end, length = zones[k + 1].first - first;
        const long pieces =
            std::max(1L, std::min((length + piece - 1) / piece, length / least_chunk));
        for (long j = 0; j < pieces; ++j) {
            if (j > 0)
                plan.zones.push_back({first + length * j / pieces, first + length * j / pieces});
            plan.chunks.push_back({first + length * j / pieces, first + length * (j + 1) / pieces});
        }
    }
    plan.zones.push_back(zones.back());
    return plan;
}

void advance_chunk(FieldArrays& f, CellRange chunk, int steps, long tile_cells) {
    // The first tile closes in from its left as well, by one node a step.
    const long first_tile = std::max(tile_cells, 2L * steps), tile = std::max(tile_cells, 1L);
    for (long left = chunk.first; left < chunk.end;) {
        const bool first = left == chunk.first;
        const long right = std::min(chunk.end, left + (first ? first_tile : tile));
        for (long t = 0; t < steps; ++t) {
            const long hy_first = first ? left + t : left - t;
            sweep_step(f, {hy_first, right - t}, first ? hy_first + 1 : hy_first);
        }
        left = right;
    }
}

void sweep_zones_hy(FieldArrays& f, const std::vector<CellRange>& zones, int t) {
    const CellRange nodes = hy_nodes(static_cast<long>(f.hy.size()));
    for (const CellRange& z : zones)
        sweep_hy(f, clipped({z.first - t, z.end + t}, nodes));
}

void sweep_zones_ez(FieldArrays& f, const std::vector<CellRange>& zones, int t) {
    const CellRange nodes = ez_nodes(static_cast<long>(f.ez.size()));
    for (const CellRange& z : zones)
        sweep_ez(f, clipped({z.first - t, z.end + t + 1}, nodes));
}

} // namespace lab
