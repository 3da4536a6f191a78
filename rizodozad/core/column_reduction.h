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

// Hands emit_index, in order, the indices of the points of the polyline point_at(first ..
// end-1) that remain when every run of consecutive points sharing one column (of width
// 1 / columns_per_unit in x) is cut to the run's first, lowest, highest and last point.
// Drawn as a strip, they span in each column the same range of y, and enter and leave each
// column at the same points, as the whole polyline. A point with a coordinate that is not
// finite is kept and ends the run before it. Runs never cross a column's edge, so the
// indices of a polyline cut at column edges are those of the whole.
template <class PointAt, class EmitIndex>
void reduce_indices_to_columns(std::size_t first_index, std::size_t end, const PointAt& point_at,
                               double columns_per_unit, const EmitIndex& emit_index) {
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
    std::size_t i = first_index;
    while (i < end) {
        const PlotPoint first = point_at(i);
        if (!finite(first)) {
            emit_index(i);
            ++i;
            continue;
        }
        const double column = column_of(first);
        std::array<std::size_t, 4> kept{i, i, i, i}; // first, lowest, highest, last
        PlotPoint lowest = first, highest = first;
        std::size_t j = i + 1;
        for (; j < end; ++j) {
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
        const auto last = std::unique(kept.begin(), kept.end());
        for (auto k = kept.begin(); k != last; ++k)
            emit_index(*k);
        i = j;
    }
}

// The same for points_at(0 .. n-1), handing emit the points themselves.
template <class PointAt, class Emit>
void reduce_to_columns(std::size_t n, const PointAt& point_at, double columns_per_unit,
                       const Emit& emit) {
    reduce_indices_to_columns(0, n, point_at, columns_per_unit,
                              [&](std::size_t i) { emit(point_at(i)); });
}

// The same indices as reduce_indices_to_columns(0, n, ...) for a polyline whose x never
// decreases and is finite at both ends (so throughout): each column's end is found by
// bisection on x, and inside a column only y is read. A column holding a y that is not
// finite is handed to the general form.
template <class XAt, class YAt, class EmitIndex>
void reduce_sorted_indices_to_columns(std::size_t n, const XAt& x_at, const YAt& y_at,
                                      double columns_per_unit, const EmitIndex& emit_index) {
    const auto column_of = [&](std::size_t i) {
        return std::floor(static_cast<double>(x_at(i)) * columns_per_unit);
    };
    // First index after i outside i's column: doubling steps, then bisection.
    const auto column_end = [&](std::size_t i, double column) {
        std::size_t inside = i, step = 1;
        while (inside + step < n && column_of(inside + step) == column) {
            inside += step;
            step *= 2;
        }
        std::size_t outside = std::min(inside + step, n);
        while (outside - inside > 1) {
            const std::size_t middle = inside + (outside - inside) / 2;
            (column_of(middle) == column ? inside : outside) = middle;
        }
        return outside;
    };
    const auto point_at = [&](std::size_t i) { return PlotPoint{x_at(i), y_at(i)}; };
    std::size_t i = 0;
    while (i < n) {
        const std::size_t end = column_end(i, column_of(i));
        std::array<std::size_t, 4> kept{i, i, i, end - 1}; // first, lowest, highest, last
        float lowest = y_at(i), highest = lowest;
        bool finite = std::isfinite(lowest);
        for (std::size_t j = i + 1; finite && j < end; ++j) {
            const float y = y_at(j);
            finite = std::isfinite(y);
            if (y < lowest) {
                lowest = y;
                kept[1] = j;
            }
            if (y > highest) {
                highest = y;
                kept[2] = j;
            }
        }
        if (!finite) {
            reduce_indices_to_columns(i, end, point_at, columns_per_unit, emit_index);
        } else {
            std::sort(kept.begin(), kept.end());
            const auto last = std::unique(kept.begin(), kept.end());
            for (auto k = kept.begin(); k != last; ++k)
                emit_index(*k);
        }
        i = end;
    }
}

// The same, gathered into a vector.
std::vector<PlotPoint> reduce_to_columns(const std::vector<PlotPoint>& points,
                                         double columns_per_unit);

} // namespace rizodozad
