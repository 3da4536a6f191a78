// Text objects: a black bitmap string anchored at a point in the axes' data coordinates.
#include <cstdio>

#include "rizodozad/core/draw.h"
#include "rizodozad/rizodozad.h"

namespace rizodozad {

void ZarIdor::display_text() {
    const Text* text = current_text.get();
    if (text == nullptr) return;
    if (debug != 0) std::printf("display:%4d Text\n", text->handle);

    draw::text({data_to_unit_x(text->position[0]), data_to_unit_y(text->position[1])}, text->text);
}

} // namespace rizodozad
