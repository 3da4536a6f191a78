// Contour tracing: pure functions, no OpenGL.
#pragma once

#include <array>
#include <vector>

#include "rizodozad/records.h"

namespace rizodozad {

// x: one value per grid column, y: one per grid row, z[row][column]. Traces only
// the grid that all three cover.
ContourMatrix trace_contours(std::vector<double> x, std::vector<double> y,
                             std::vector<std::vector<double>> z, std::vector<double> levels);

} // namespace rizodozad
