// Figures and layers: their create-or-match calls and the drawing walk from a
// figure through its visible layers down to their axes.
#include <GL/freeglut.h>

#include <cstddef>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "rizodozad/core/create_or_match.h"
#include "rizodozad/pictures.h"
#include "rizodozad/rizodozad.h"

namespace rizodozad {

namespace {

constexpr double near_plane = -1; // the normalised window's depth range for 3D axes
constexpr double far_plane = 3;

} // namespace

//-----------------------------------------------------------------------------
// [SECTION] Create or match
//-----------------------------------------------------------------------------

int ZarIdor::create_figure() {
    return detail::create_or_match(*this,
                                   detail::KindSlot<Figure>{figure_list, current_figure,
                                                            figure_counter, kind::figure, "Figure"},
                                   nullptr, detail::keep_data<Figure>);
}

// Every layer starts with an axes of its own, which becomes current.
int ZarIdor::create_layer() {
    const int handle = detail::create_or_match(
        *this,
        detail::KindSlot<Layer>{layer_list, current_layer, layer_counter, kind::layer, "Layer"},
        detail::children_of(current_figure), detail::keep_data<Layer>);
    create_axes();
    return handle;
}

// The name and visibility are given once, when the layer is built; later passes
// keep whatever the layer list made of its visibility.
int ZarIdor::layer(std::string name) {
    const int handle = create_layer();
    if (mode == display_mode::allocation && current_layer) {
        current_layer->visible = 1;
        current_layer->name = std::move(name);
    }
    return handle;
}

//-----------------------------------------------------------------------------
// [SECTION] Drawing walk
//-----------------------------------------------------------------------------

void ZarIdor::display_figure() {
    const Figure* figure = current_figure.get();
    if (figure != nullptr && debug)
        std::printf("mode: %d handle: %4d Figure\n", mode, figure->handle);

    if (figure != nullptr && figure->visible) {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glClearColor(1, 1, 1, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glViewport(0, 0, window_width, window_height);
        glLoadIdentity();
        glOrtho(0, 1, 0, 1, near_plane, far_plane);

        const std::vector<int> layers = figure->children;
        for (int handle : layers) {
            const auto index = static_cast<std::size_t>(handle_index(handle));
            if (handle_kind(handle) != kind::layer || index >= layer_list.size()) continue;
            current_layer.select(index);
            if (current_layer->visible) display_layer();
        }
        display_layer_list();
        glFlush();
        glViewport(0, 0, window_width, window_height);
    }
    if (capture_target_ != nullptr) *capture_target_ = capture_frame(window_width, window_height);
    glutSwapBuffers();
}

void ZarIdor::display_layer() {
    const Layer* layer = current_layer.get();
    if (layer == nullptr) return;
    if (debug)
        std::printf("mode: %d handle: %4d Layer ( %s ) \n", mode, layer->handle,
                    layer->name.c_str());

    const std::vector<int> axes = layer->children;
    for (int handle : axes) {
        const auto index = static_cast<std::size_t>(handle_index(handle));
        if (handle_kind(handle) != kind::axes || index >= axes_list.size()) continue;
        current_axes.select(index);
        display_axes();
    }
}

} // namespace rizodozad
