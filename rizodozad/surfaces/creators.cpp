// Create-or-match for surfaces, patches and texts, the children an axes draws
// besides its lines.
#include "rizodozad/core/create_or_match.h"
#include "rizodozad/core/engine.h"

namespace rizodozad {

namespace {

// A configuration pass refills the data; colours and styles stay as set.
void forget_data(Surface& surface) {
    surface.x_data.clear();
    surface.y_data.clear();
    surface.z_data.clear();
    surface.c_data.clear();
}

void forget_data(Patch& patch) {
    patch.x_data.clear();
    patch.y_data.clear();
    patch.z_data.clear();
    patch.c_data.clear();
}

} // namespace

int Engine::create_surface() {
    return detail::create_or_match(
        *this,
        detail::KindSlot<Surface>{surface_list, current_surface, surface_counter, kind::surface,
                                  "Surface"},
        detail::children_of(current_axes), [](Surface& surface) { forget_data(surface); });
}

int Engine::create_patch() {
    return detail::create_or_match(
        *this,
        detail::KindSlot<Patch>{patch_list, current_patch, patch_counter, kind::patch, "Patch"},
        detail::children_of(current_axes), [](Patch& patch) { forget_data(patch); });
}

// A text's string and position are properties, set once and kept.
int Engine::create_text() {
    return detail::create_or_match(
        *this, detail::KindSlot<Text>{text_list, current_text, text_counter, kind::text, "Text"},
        detail::children_of(current_axes), detail::keep_data<Text>);
}

} // namespace rizodozad
