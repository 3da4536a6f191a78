// Reduction of a long polyline to what a raster of columns can show. Plain arithmetic:
// no OpenGL here.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <vector>

namespace rizodozad {

struct PlotPoint {
    float x = 0;
    float y = 0;
};

// A polyline needs reducing only when it has more than this many points per column:
// below it the reduction keeps nearly every point and only costs its pass (measured in
// bench_scaling, BM_StripWhole against BM_StripReduced).
constexpr double reduction_points_per_column = 4;

// An export is read at print resolution: a point of the page holds 300 / 72 = 4.2 dots at
// 300 dpi, so a line for export is reduced to five columns per pixel of its axes.
constexpr double export_columns_per_pixel = 5;

// Whether a polyline of point_count points drawn across columns columns is worth reducing.
bool worth_reducing(std::size_t point_count, double columns);

// Hands emit, in order, the points of the polyline point_at(0 .. n-1) that remain when
// every run of consecutive points sharing one column (of width 1 / columns_per_unit in x)
// is cut to the run's first, lowest, highest and last point. Drawn as a strip, they span
// in each column the same range of y, and enter and leave each column at the same points,
// as the whole polyline. A point with a coordinate that is not finite is kept and ends
// the run before it.
template <class PointAt, class Emit>
void reduce_to_columns(std::size_t n, const PointAt& point_at, double columns_per_unit,
                       const Emit& emit) {
    const auto finite = [](const PlotPoint& p) { return std::isfinite(p.x) && std::isfinite(p.y); };
    // Column numbers stay doubles: x far outside the axes must not overflow an integer.
    const auto column_of = [&](const PlotPoint& p) {
        return std::floor(static_cast<double>(p.x) * columns_per_unit);
    };
    // The same test as column_of(p) == column, without a floor per point.
    const auto in_column = [&](const PlotPoint& p, double column) {
        const double c = static_cast<double>(p.x) * columns_per_unit;
        return c >= column && c < column + 1;
    };
    std::size_t i = 0;
    while (i < n) {
        const PlotPoint first = point_at(i);
        if (!finite(first)) {
            emit(first);
            ++i;
            continue;
        }
        const double column = column_of(first);
        std::array<std::size_t, 4> kept{i, i, i, i}; // first, lowest, highest, last
        PlotPoint lowest = first, highest = first;
        std::size_t j = i + 1;
        for (; j < n; ++j) {
            const PlotPoint p = point_at(j);
            if (!in_column(p, column) || !std::isfinite(p.y)) break;
            if (p.y < lowest.y) {
                lowest = p;
                kept[1] = j;
            }
            if (p.y > highest.y) {
                highest = p;
                kept[2] = j;
            }
        }
        kept[3] = j - 1;
        std::sort(kept.begin(), kept.end());
        const auto end = std::unique(kept.begin(), kept.end());
        for (auto k = kept.begin(); k != end; ++k)
            emit(point_at(*k));
        i = j;
    }
}

// The same, gathered into a vector.
std::vector<PlotPoint> reduce_to_columns(const std::vector<PlotPoint>& points,
                                         double columns_per_unit);

} // namespace rizodozad
