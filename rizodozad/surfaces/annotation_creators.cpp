// Public creators of patches, texts and colour bars.
#include <array>
#include <cstddef>
#include <optional>
#include <utility>

#include "rizodozad/axes/data_extents.h"
#include "rizodozad/core/creator_support.h"
#include "rizodozad/core/engine.h"

namespace rizodozad {

namespace {

using data_extents::Axis;

// A colour bar is a thin strip just right of its plot, as tall as the plot; the tick
// labels go in the margin beyond it. Window fractions.
constexpr float colorbar_gap = 0.015f;
constexpr float colorbar_width = 0.02f;

std::array<float, 4> beside(const std::array<float, 4>& plot_position) {
    const float left = plot_position[0] + plot_position[2] + colorbar_gap;
    return {left, plot_position[1], colorbar_width, plot_position[3]};
}

// Creates or matches a patch and fills it when the layer is shown; z stays empty in two
// dimensions.
int polygons(Engine& engine, int type, Matrix x, Matrix y, Matrix z, Colormap colors) {
    const int handle = engine.create_patch();
    Patch* patch = creator_support::matched(engine.current_patch, handle);
    if (patch == nullptr) return handle;
    if (creator_support::just_created(engine)) patch->type = type;
    if (!creator_support::layer_shown(engine)) return handle;

    patch->x_data = std::move(x);
    patch->y_data = std::move(y);
    patch->z_data = std::move(z);
    patch->c_data = std::move(colors);
    if (Axes* axes = engine.current_axes.get()) {
        data_extents::widen(*axes, Axis::x, patch->x_data);
        data_extents::widen(*axes, Axis::y, patch->y_data);
        data_extents::widen(*axes, Axis::z, patch->z_data);
    }
    return handle;
}

// The position of the current axes in its list, if there is one.
std::optional<std::size_t> current_axes_index(const Engine& engine) {
    const Axes* axes = engine.current_axes.get();
    if (axes == nullptr) return std::nullopt;
    return static_cast<std::size_t>(axes - engine.axes_list.data());
}

} // namespace

int Engine::patch(Matrix x, Matrix y, Colormap colors) {
    return polygons(*this, patch_type::two_d, std::move(x), std::move(y), {}, std::move(colors));
}

int Engine::patch(Matrix x, Matrix y, Matrix z, Colormap colors) {
    return polygons(*this, patch_type::three_d, std::move(x), std::move(y), std::move(z),
                    std::move(colors));
}

// A text annotates the data rather than being part of it: it does not widen the extents.
int Engine::text(double x, double y, std::string string) {
    const int handle = create_text();
    Text* record = creator_support::matched(current_text, handle);
    if (record == nullptr) return handle;
    if (!creator_support::layer_shown(*this)) {
        record->text.clear();
        return handle;
    }
    record->text = std::move(string);
    record->position = {static_cast<float>(x), static_cast<float>(y)};
    return handle;
}

// The bar's axes is appended under the current layer like any axes. Its place, colours
// and colour limits are taken again in every pass, so it follows its plot and the
// engine's colormap. The plot axes is made current again by its position, which stays
// valid while the list grows.
int Engine::colorbar() {
    const std::optional<std::size_t> plot_index = current_axes_index(*this);
    std::array<float, 4> plot_position{};
    std::array<double, 2> plot_c_lim{};
    if (plot_index) {
        plot_position = axes_list[*plot_index].position;
        plot_c_lim = axes_list[*plot_index].c_lim;
    }

    const int handle = create_axes();
    Axes* bar = creator_support::matched(current_axes, handle);
    if (bar != nullptr && plot_index) {
        bar->type = axes_type::colorbar;
        bar->position = beside(plot_position);
        bar->colormap = current_colormap;
        bar->c_lim = plot_c_lim;
        bar->colorbar_for = axes_list[*plot_index].handle;
    }

    if (plot_index)
        current_axes.select(*plot_index);
    else
        current_axes.clear();
    return handle;
}

} // namespace rizodozad
