// Figure texts: strings at window pixels, drawn over the axes after every layer.
#include <algorithm>
#include <utility>

#include "rizodozad/core/engine.h"
#include "rizodozad/core/font_metrics.h"

namespace rizodozad {

DrawnText figure_text_box(const FigureText& text, int window_width, int window_height) {
    const double width = font::width_px(text.text);
    const double left = std::max<double>(
        tidy::edge_gap_px(), std::min<double>(text.x, window_width - tidy::edge_gap_px() - width));
    const double baseline =
        std::clamp<double>(text.y, tidy::edge_gap_px() + tidy::text_descent_px(),
                           std::max(tidy::edge_gap_px() + tidy::text_descent_px(),
                                    window_height - tidy::edge_gap_px() - tidy::text_ascent_px()));
    return {text.text, static_cast<float>(left),
            static_cast<float>(baseline - tidy::text_descent_px()), static_cast<float>(width),
            static_cast<float>(tidy::text_height_px())};
}

void Engine::figure_text(float x, float y, std::string text) {
    figure_texts.push_back({x, y, std::move(text)});
}

void Engine::display_figure_texts() {
    if (app.window_width <= 0 || app.window_height <= 0) return;
    const auto ww = static_cast<float>(app.window_width);
    const auto wh = static_cast<float>(app.window_height);
    for (const FigureText& t : figure_texts) {
        float x = t.x;
        float y = t.y;
        if (app.tidy_layout) {
            const DrawnText box = figure_text_box(t, app.window_width, app.window_height);
            x = box.left;
            y = box.bottom + static_cast<float>(tidy::text_descent_px());
        }
        draw_string(x / ww, y / wh, t.text);
    }
}

} // namespace rizodozad
