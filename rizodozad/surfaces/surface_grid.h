// Checked reads of surface and patch data. Records are filled by hand, so rows may
// be shorter than the first one and sequences may disagree in size; the renderers
// draw what the data covers and skip every point or cell it does not.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "rizodozad/records.h"

namespace rizodozad::surface_grid {

// The element (i, j) of a sequence of rows, or nullptr when the data does not hold it.
template <class T>
const T* element(const std::vector<std::vector<T>>& rows, std::size_t i, std::size_t j) {
    if (i >= rows.size() || j >= rows[i].size()) return nullptr;
    return &rows[i][j];
}

// The element i of a sequence, or nullptr.
template <class T> const T* element(const std::vector<T>& values, std::size_t i) {
    return i < values.size() ? &values[i] : nullptr;
}

// The number of columns: the length of the first row, 0 without rows.
template <class T> std::size_t column_count(const std::vector<std::vector<T>>& rows) {
    return rows.empty() ? 0 : rows.front().size();
}

struct PointXY {
    double x = 0;
    double y = 0;
};

struct PointXYZ {
    double x = 0;
    double y = 0;
    double z = 0;
};

// Grid point (i, j) of a surface given by coordinates: the vector form (one row of
// x, one row of y) takes x from column j and y from entry i; the matrix form takes
// both from (i, j).
inline std::optional<PointXY> grid_xy(const Surface& surface, std::size_t i, std::size_t j) {
    const bool vector_form = surface.x_data.size() == 1;
    const double* x = element(surface.x_data, vector_form ? 0 : i, j);
    const double* y = vector_form ? element(surface.y_data, 0, i) : element(surface.y_data, i, j);
    if (x == nullptr || y == nullptr) return std::nullopt;
    return PointXY{*x, *y};
}

// The same point with its value z_data[i][j].
inline std::optional<PointXYZ> grid_xyz(const Surface& surface, std::size_t i, std::size_t j) {
    const auto xy = grid_xy(surface, i, j);
    const double* z = element(surface.z_data, i, j);
    if (!xy || z == nullptr) return std::nullopt;
    return PointXYZ{xy->x, xy->y, *z};
}

} // namespace rizodozad::surface_grid
