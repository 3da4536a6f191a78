// A 64-bit fingerprint of a grid and its levels, so that contour lines are traced again
// only when what they are traced from changed. Plain arithmetic: no OpenGL here.
#pragma once

#include <cstdint>
#include <vector>

namespace rizodozad {

// Bits of every value, and the length of every sequence, count: a changed value, a value
// moved to another row, or -0.0 for 0.0 all give another fingerprint (a single changed
// value always does). The same NaN gives the same fingerprint.
std::uint64_t grid_fingerprint(const std::vector<double>& x, const std::vector<double>& y,
                               const std::vector<std::vector<double>>& z,
                               const std::vector<double>& levels);

} // namespace rizodozad
