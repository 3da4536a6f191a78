#include "rizodozad/core/column_reduction.h"

namespace rizodozad {

bool worth_reducing(std::size_t point_count, double columns) {
    return columns > 0 && static_cast<double>(point_count) > reduction_points_per_column * columns;
}

std::vector<PlotPoint> reduce_to_columns(const std::vector<PlotPoint>& points,
                                         double columns_per_unit) {
    std::vector<PlotPoint> out;
    reduce_to_columns(
        points.size(), [&](std::size_t i) { return points[i]; }, columns_per_unit,
        [&](const PlotPoint& p) { out.push_back(p); });
    return out;
}

} // namespace rizodozad
