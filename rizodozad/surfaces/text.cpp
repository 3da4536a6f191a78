// Text objects: a black bitmap string anchored at a point in the axes' data coordinates.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "rizodozad/axes/tidy_frame.h"
#include "rizodozad/core/draw.h"
#include "rizodozad/core/engine.h"

namespace rizodozad {

namespace {

// The anchor moved by whole pixels so that the string's box lies inside the window.
draw::TextAnchor inside_window(draw::TextAnchor anchor, const std::string& text, int window_width,
                               int window_height) {
    const std::optional<DrawnText> box = draw::text_box(anchor, text);
    if (!box) return anchor;
    const double left = std::clamp<double>(box->left, tidy::edge_gap_px(),
                                           window_width - tidy::edge_gap_px() - box->width);
    const double bottom = std::clamp<double>(box->bottom, tidy::edge_gap_px(),
                                             window_height - tidy::edge_gap_px() - box->height);
    anchor.shift_x_px += static_cast<float>(std::round(left - box->left));
    anchor.shift_y_px += static_cast<float>(std::round(bottom - box->bottom));
    return anchor;
}

} // namespace

void Engine::display_text() {
    const Text* text = current_text.get();
    if (text == nullptr) return;
    if (app.debug != 0) std::printf("display:%4d Text\n", text->handle);

    draw::TextAnchor anchor{data_to_unit_x(text->position[0]), data_to_unit_y(text->position[1])};
    if (app.tidy_layout)
        anchor = inside_window(anchor, text->text, app.window_width, app.window_height);
    if (const auto box = draw::text(anchor, text->text); box && !text->text.empty())
        drawn_texts.push_back(*box);
}

} // namespace rizodozad
