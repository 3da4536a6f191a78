#include "gallery/panels.h"

namespace gallery {

rizodozad::Axes* panel(rizodozad::ZarIdor& engine, int rows, int columns, int cell,
                       const char* title) {
    engine.subplot(rows, columns, cell);
    rizodozad::Axes* axes = engine.current_axes();
    if (axes != nullptr) axes->title = title;
    return axes;
}

void set_marker_size(rizodozad::ZarIdor& engine, float size) {
    if (rizodozad::Line* line = engine.current_line()) line->marker_size = size;
}

std::vector<double> sampled(const std::vector<double>& x, const std::function<double(double)>& f) {
    std::vector<double> y;
    y.reserve(x.size());
    for (double v : x)
        y.push_back(f(v));
    return y;
}

} // namespace gallery
