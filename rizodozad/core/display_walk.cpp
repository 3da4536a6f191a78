// The drawing walk: from the figure through its visible layers to their axes, and
// from each axes to its decoration and its children, each drawn by its renderer.
#include <GL/freeglut.h>

#include <cstddef>
#include <cstdio>
#include <vector>

#include "rizodozad/core/draw.h"
#include "rizodozad/core/engine.h"
#include "rizodozad/core/pictures.h"

namespace rizodozad {

namespace {

constexpr double near_plane = -1; // the normalised window's depth range for 3D axes
constexpr double far_plane = 3;

// Makes the record at `index` current; false when the handle's index names none.
template <class Record>
bool select_child(CurrentRecord<Record>& current, const std::vector<Record>& list, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= list.size()) return false;
    current.select(static_cast<std::size_t>(index));
    return true;
}

void clear_window(int window_width, int window_height) {
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glClearColor(1, 1, 1, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glViewport(0, 0, window_width, window_height);
    glLoadIdentity();
    glOrtho(0, 1, 0, 1, near_plane, far_plane);
}

} // namespace

//-----------------------------------------------------------------------------
// [SECTION] Figure and layers
//-----------------------------------------------------------------------------

void Engine::display_figure() {
    const Figure* figure = current_figure.get();
    if (figure != nullptr && app.debug)
        std::printf("mode: %d handle: %4d Figure\n", mode, figure->handle);

    if (figure != nullptr && figure->visible) {
        const draw::ScreenGlyphs screen_glyphs(glyph_atlas_.get());
        clear_window(app.window_width, app.window_height);
        const std::vector<int> layers = figure->children;
        for (int handle : layers) {
            if (handle_kind(handle) != kind::layer) continue;
            if (select_child(current_layer, layer_list, handle_index(handle)) &&
                current_layer->visible)
                display_layer();
        }
        display_figure_texts();
        display_layer_list();
        glFlush();
        glViewport(0, 0, app.window_width, app.window_height);
    }
    if (capture_target_ != nullptr)
        *capture_target_ = capture_frame(app.window_width, app.window_height);
    glutSwapBuffers();
}

void Engine::display_layer() {
    const Layer* layer = current_layer.get();
    if (layer == nullptr) return;
    if (app.debug)
        std::printf("mode: %d handle: %4d Layer ( %s ) \n", mode, layer->handle,
                    layer->name.c_str());

    const std::vector<int> axes = layer->children;
    for (int handle : axes) {
        if (handle_kind(handle) != kind::axes) continue;
        if (select_child(current_axes, axes_list, handle_index(handle))) display_axes();
    }
}

//-----------------------------------------------------------------------------
// [SECTION] Axes and their children
//-----------------------------------------------------------------------------

void Engine::display_axes() {
    const Axes* axes = current_axes.get();
    if (!axes) return;
    if (app.debug)
        std::printf("mode: %d handle: %4d Axes  #Children %d\n", mode, axes->handle,
                    static_cast<int>(axes->children.size()));

    if (!axes->children.empty()) {
        if (axes->type == axes_type::two_d)
            app.tidy_layout ? display_axes_2d_tidy() : display_axes_2d();
        if (current_axes && current_axes->type == axes_type::three_d) display_axes_3d();
    }
    if (current_axes && current_axes->type == axes_type::colorbar) display_colorbar();
    if (!current_axes) return;

    // A copy: the list is read while the children are drawn.
    const std::vector<int> children = current_axes->children;
    for (const int child : children)
        display_child(child);
    if (current_axes && current_axes->type == axes_type::two_d) display_legend();
}

void Engine::display_child(int handle) {
    const int index = handle_index(handle);
    switch (handle_kind(handle)) {
    case kind::line:
        if (select_child(current_line, line_list, index)) display_line();
        break;
    case kind::surface:
        if (select_child(current_surface, surface_list, index)) display_surface();
        break;
    case kind::text:
        if (select_child(current_text, text_list, index)) display_text();
        break;
    case kind::patch:
        if (select_child(current_patch, patch_list, index)) display_any_patch();
        break;
    default:
        break;
    }
}

void Engine::display_any_patch() {
    if (app.debug)
        std::printf("display:%4d Patch :type %d, Faces.size %d\n", current_patch->handle,
                    current_patch->type, static_cast<int>(current_patch->faces.size()));
    if (current_patch->type == patch_type::two_d) display_patch();
    if (current_patch && current_patch->type == patch_type::three_d) display_patch_3d();
}

} // namespace rizodozad
