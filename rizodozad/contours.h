// Contour tracing: pure functions, no OpenGL.
#pragma once

#include <array>
#include <vector>

namespace rizodozad {

// Two rows of equal length: per polyline a header column (level, point count)
// followed by one column (x, y) per point.
using ContourMatrix = std::array<std::vector<double>, 2>;

// x: one value per grid column, y: one per grid row, z[row][column]. Traces only
// the grid that all three cover.
ContourMatrix trace_contours(std::vector<double> x, std::vector<double> y,
                             std::vector<std::vector<double>> z, std::vector<double> levels);

} // namespace rizodozad
