// Widening of an axes' data extents by the values of its children, so that the
// automatic limits follow the data. Plain arithmetic: no OpenGL here.
#pragma once

#include <vector>

#include "rizodozad/records.h"

namespace rizodozad::data_extents {

enum class Axis { x, y, z };

// Widens the extents of one axis by values. On a logarithmic x or y axis only
// positive values may become the lower end; an x axis of any other unknown scale
// takes nothing. Comparisons are strict, so a NaN never moves an extent.
void widen(Axes& axes, Axis axis, const std::vector<double>& values);

// The same as widen for every value of every row.
void widen(Axes& axes, Axis axis, const Matrix& rows);

} // namespace rizodozad::data_extents
