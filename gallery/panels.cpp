#include "gallery/panels.h"

namespace gallery {

rizodozad::Axes* panel(rizodozad::ZarIdor& engine, int rows, int columns, int cell,
                       const char* title) {
    engine.subplot(rows, columns, cell);
    rizodozad::Axes* axes = engine.current_axes.get();
    if (axes != nullptr) axes->title = title;
    return axes;
}

void fix_limits(rizodozad::Axes* axes, const Limits& x, const Limits& y) {
    if (axes == nullptr) return;
    axes->x_lim = x;
    axes->y_lim = y;
    axes->x_lim_mode = rizodozad::limit_mode::manual;
    axes->y_lim_mode = rizodozad::limit_mode::manual;
}

void set_line_width(rizodozad::ZarIdor& engine, float width) {
    if (rizodozad::Line* line = engine.current_line.get()) line->line_width = width;
}

void set_marker_size(rizodozad::ZarIdor& engine, float size) {
    if (rizodozad::Line* line = engine.current_line.get()) line->marker_size = size;
}

std::vector<double> sampled(const std::vector<double>& x, const std::function<double(double)>& f) {
    std::vector<double> y;
    y.reserve(x.size());
    for (double v : x)
        y.push_back(f(v));
    return y;
}

} // namespace gallery
