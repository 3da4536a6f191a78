// Patches: indexed triangles and outlined, filled polygons, in the axes' unit
// square or in the three-dimensional view.
#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <vector>

#include "rizodozad/core/draw.h"
#include "rizodozad/core/engine.h"
#include "rizodozad/core/print_mirror.h"

namespace rizodozad {

namespace {

constexpr std::size_t triangle_corners = 3; // the indices of a face that are drawn
constexpr std::size_t planar_coordinates = 2;

std::size_t row_length(const Matrix& rows, std::size_t j) {
    return j < rows.size() ? rows[j].size() : 0;
}

// The corners of polygon j that every coordinate row holds.
std::size_t polygon_corners(const Patch& patch, std::size_t j, bool with_z) {
    std::size_t n = std::min(row_length(patch.x_data, j), row_length(patch.y_data, j));
    if (with_z) n = std::min(n, row_length(patch.z_data, j));
    return n;
}

// The vertex a face index names, or nullptr when the index or the vertex falls short.
const std::vector<double>* face_vertex(const Patch& patch, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= patch.vertices.size()) return nullptr;
    const auto& v = patch.vertices[static_cast<std::size_t>(index)];
    return v.size() >= planar_coordinates ? &v : nullptr;
}

// The corners of polygon j in the current projection, as corner_point places them.
template <class CornerPoint>
std::vector<draw::Point> polygon(const Patch& patch, std::size_t j, bool with_z,
                                 const CornerPoint& corner_point) {
    std::vector<draw::Point> corners(polygon_corners(patch, j, with_z));
    for (std::size_t k = 0; k < corners.size(); ++k)
        corners[k] = corner_point(j, k);
    return corners;
}

// The polygons, shared by both views: the outline of each, then its fill.
template <class CornerPoint>
void draw_polygons(const Patch& patch, bool with_z, const CornerPoint& corner_point) {
    const bool outline = patch.edge_color != "none";
    const bool fill = patch.face_color != "none";
    for (std::size_t j = 0; j < patch.x_data.size(); ++j) {
        const std::vector<draw::Point> corners = polygon(patch, j, with_z, corner_point);
        if (outline) {
            print_mirror::set_line_width(patch.line_width);
            draw::set_colour(color_to_rgb(patch.edge_color));
            draw::shape(GL_LINE_LOOP, corners);
        }
        // With colours given per polygon, one that has none is left unfilled.
        if (fill && (patch.c_data.empty() || j < patch.c_data.size())) {
            draw::set_colour(patch.c_data.empty() ? color_to_rgb(patch.face_color)
                                                  : patch.c_data[j]);
            draw::shape(GL_POLYGON, corners);
        }
    }
}

// Triangles from faces and vertices; they keep whatever colour is current.
void draw_faces(Engine& engine, const Patch& patch) {
    for (const auto& face : patch.faces) {
        if (face.size() < triangle_corners) continue;
        std::array<draw::Point, triangle_corners> corners{};
        bool complete = true;
        for (std::size_t k = 0; k < triangle_corners && complete; ++k) {
            const std::vector<double>* v = face_vertex(patch, face[k]);
            complete = v != nullptr;
            if (complete)
                corners[k] = {engine.data_to_unit_x((*v)[0]), engine.data_to_unit_y((*v)[1]), 0};
        }
        if (complete) draw::shape(GL_TRIANGLES, corners);
    }
}

} // namespace

//-----------------------------------------------------------------------------
// Two dimensions: triangles from faces and vertices, then the polygons
//-----------------------------------------------------------------------------

void Engine::display_patch() {
    const Patch* patch = current_patch.get();
    if (patch == nullptr) return;
    draw_faces(*this, *patch);
    draw_polygons(*patch, false, [this, patch](std::size_t j, std::size_t k) {
        return draw::Point{data_to_unit_x(patch->x_data[j][k]), data_to_unit_y(patch->y_data[j][k]),
                           0};
    });
}

//-----------------------------------------------------------------------------
// Three dimensions: the polygons only, in the cube of the view
//-----------------------------------------------------------------------------

void Engine::display_patch_3d() {
    const Patch* patch = current_patch.get();
    const Axes* axes = current_axes.get();
    if (patch == nullptr || axes == nullptr) return;

    draw_polygons(*patch, true, [patch, axes](std::size_t j, std::size_t k) {
        return draw::Point{unit_cube_coordinate(patch->x_data[j][k], axes->x_lim),
                           unit_cube_coordinate(patch->y_data[j][k], axes->y_lim),
                           unit_cube_coordinate(patch->z_data[j][k], axes->z_lim)};
    });
}

} // namespace rizodozad
