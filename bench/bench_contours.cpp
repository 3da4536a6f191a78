// Contour tracing on a 256 x 256 grid with two peaks and ten levels: the indexed
// neighbour search against the scan of the whole crossing list. The smooth field
// has a few hundred crossings per level; the rippled one, two peaks on a fine
// wave such as measured data carries, has tens of thousands, where the scan's
// quadratic cost shows.
#include <cmath>
#include <vector>

#include <benchmark/benchmark.h>

#include "rizodozad/surfaces/contours.h"
#include "rizodozad/test_hooks.h"

namespace {

constexpr int grid_size = 256;
constexpr int level_count = 10;
constexpr double ripple_waves = 2 * 3.141592653589793 * 40; // 40 periods across the grid
constexpr double rippled = 0.2;                             // amplitude, about two level spacings

struct Peak {
    double x;
    double y;
    double height;
    double width;
};

struct Problem {
    std::vector<double> x;
    std::vector<double> y;
    std::vector<std::vector<double>> z;
    std::vector<double> levels;
};

// Two overlapping Gaussians on the unit square; the levels lie strictly between
// the lowest and highest values, so every level is traced.
Problem two_gaussians(double ripple) {
    const Peak peaks[] = {{0.35, 0.4, 1.0, 0.15}, {0.7, 0.65, 0.6, 0.1}};
    Problem p;
    for (int k = 0; k < grid_size; ++k) {
        const double t = static_cast<double>(k) / (grid_size - 1);
        p.x.push_back(t);
        p.y.push_back(t);
    }
    p.z.assign(grid_size, std::vector<double>(grid_size));
    for (int i = 0; i < grid_size; ++i) {
        for (int j = 0; j < grid_size; ++j) {
            double v = 0;
            for (const Peak& peak : peaks) {
                const double dx = p.x[j] - peak.x;
                const double dy = p.y[i] - peak.y;
                v += peak.height * std::exp(-(dx * dx + dy * dy) / (2 * peak.width * peak.width));
            }
            p.z[i][j] =
                v + ripple * std::sin(ripple_waves * p.x[j]) * std::sin(ripple_waves * p.y[i]);
        }
    }
    for (int k = 1; k <= level_count; ++k)
        p.levels.push_back(k / (level_count + 1.0));
    return p;
}

std::size_t crossing_columns(const rizodozad::ContourMatrix& m) { return m[0].size(); }

void BM_TraceContoursIndexed(benchmark::State& state) {
    const Problem p = two_gaussians(state.range(0) != 0 ? rippled : 0.0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(rizodozad::trace_contours(p.x, p.y, p.z, p.levels));
    }
    state.counters["points"] =
        static_cast<double>(crossing_columns(rizodozad::trace_contours(p.x, p.y, p.z, p.levels)));
}
BENCHMARK(BM_TraceContoursIndexed)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_TraceContoursByScan(benchmark::State& state) {
    const Problem p = two_gaussians(state.range(0) != 0 ? rippled : 0.0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(rizodozad::trace_contours_by_scan(p.x, p.y, p.z, p.levels));
    }
}
BENCHMARK(BM_TraceContoursByScan)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
