#include "rizodozad/lines/column_reduction.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace rizodozad {

namespace {

bool finite(const PlotPoint& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

// Column numbers stay doubles: x far outside the axes must not overflow an integer.
double column_of(const PlotPoint& p, double columns_per_unit) {
    return std::floor(static_cast<double>(p.x) * columns_per_unit);
}

// Appends the run's first, lowest, highest and last point once each, in their order.
void keep_extremes(const std::vector<PlotPoint>& points, std::array<std::size_t, 4> kept,
                   std::vector<PlotPoint>& out) {
    std::sort(kept.begin(), kept.end());
    const auto end = std::unique(kept.begin(), kept.end());
    for (auto k = kept.begin(); k != end; ++k)
        out.push_back(points[*k]);
}

} // namespace

bool worth_reducing(std::size_t point_count, double columns) {
    return columns > 0 && static_cast<double>(point_count) > reduction_points_per_column * columns;
}

std::vector<PlotPoint> reduce_to_columns(const std::vector<PlotPoint>& points,
                                         double columns_per_unit) {
    std::vector<PlotPoint> out;
    std::size_t i = 0;
    while (i < points.size()) {
        if (!finite(points[i])) {
            out.push_back(points[i++]);
            continue;
        }
        const double column = column_of(points[i], columns_per_unit);
        std::size_t lowest = i;
        std::size_t highest = i;
        std::size_t j = i + 1;
        for (; j < points.size() && finite(points[j]) &&
               column_of(points[j], columns_per_unit) == column;
             ++j) {
            if (points[j].y < points[lowest].y) lowest = j;
            if (points[j].y > points[highest].y) highest = j;
        }
        keep_extremes(points, {i, lowest, highest, j - 1}, out);
        i = j;
    }
    return out;
}

} // namespace rizodozad
