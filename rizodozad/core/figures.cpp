// Figures and layers: their create-or-match calls.
#include <string>
#include <utility>

#include "rizodozad/core/create_or_match.h"
#include "rizodozad/core/engine.h"

namespace rizodozad {

//-----------------------------------------------------------------------------
// [SECTION] Create or match
//-----------------------------------------------------------------------------

int Engine::create_figure() {
    return detail::create_or_match(*this,
                                   detail::KindSlot<Figure>{figure_list, current_figure,
                                                            figure_counter, kind::figure, "Figure"},
                                   nullptr, detail::keep_data<Figure>);
}

// Every layer starts with an axes of its own, which becomes current.
int Engine::create_layer() {
    const int handle = detail::create_or_match(
        *this,
        detail::KindSlot<Layer>{layer_list, current_layer, layer_counter, kind::layer, "Layer"},
        detail::children_of(current_figure), detail::keep_data<Layer>);
    create_axes();
    return handle;
}

// The name and visibility are given once, when the layer is built; later passes
// keep whatever the layer list made of its visibility.
int Engine::layer(std::string name) {
    const int handle = create_layer();
    if (mode == display_mode::allocation && current_layer) {
        current_layer->visible = 1;
        current_layer->name = std::move(name);
    }
    return handle;
}

} // namespace rizodozad
