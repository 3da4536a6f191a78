// Reduction of a long polyline to what a raster of columns can show. Plain arithmetic:
// no OpenGL here.
#pragma once

#include <cstddef>
#include <vector>

namespace rizodozad {

struct PlotPoint {
    float x = 0;
    float y = 0;
};

// A polyline needs reducing only when it has more than this many points per column:
// below it the reduction keeps nearly every point and only costs its pass.
constexpr double reduction_points_per_column = 4;

// Whether a polyline of point_count points drawn across columns columns is worth reducing.
bool worth_reducing(std::size_t point_count, double columns);

// The polyline with every run of consecutive points that share one column (of width
// 1 / columns_per_unit in x) cut to the run's first, lowest, highest and last point, in
// their original order. Drawn as a strip, it covers in each column the same span of y
// and enters and leaves each column at the same points as the whole polyline.
// A point with a coordinate that is not finite is kept and ends the run before it.
std::vector<PlotPoint> reduce_to_columns(const std::vector<PlotPoint>& points,
                                         double columns_per_unit);

} // namespace rizodozad
