// Legends: names for the lines of an axes, drawn in the tidy layout as a framed box
// with a sample of each line, in the corner of the frame that hides no text drawn in it
// and the least data.
#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <utility>

#include "rizodozad/axes/legend_place.h"
#include "rizodozad/axes/tidy_frame.h"
#include "rizodozad/axes/tidy_plan.h"
#include "rizodozad/core/column_reduction.h"
#include "rizodozad/core/draw.h"
#include "rizodozad/core/engine.h"
#include "rizodozad/core/font_metrics.h"
#include "rizodozad/core/print_mirror.h"
#include "rizodozad/lines/line_sample.h"

namespace rizodozad {

namespace {

double padding_px() { return font::scaled_px(4); }
double sample_px() { return font::scaled_px(24); } // length of each line's sample
double sample_gap_px() { return font::scaled_px(6); }
double inset_px() { return font::scaled_px(6); } // between the box and the frame

struct LegendBox {
    std::size_t entries = 0;
    double width = 0;
    double height = 0;
};

// As many entries as fit in the frame, up to most, the first ones kept.
LegendBox legend_size(const std::vector<std::string>& names, std::size_t lines,
                      const tidy::PixelBox& frame, std::size_t most) {
    LegendBox box;
    double widest = 0;
    for (std::size_t n = 1; n <= std::min({names.size(), lines, most}); ++n) {
        widest = std::max(widest, font::width_px(names[n - 1]));
        const double width = 2 * padding_px() + sample_px() + sample_gap_px() + widest;
        const double height = 2 * padding_px() + n * tidy::row_pitch_px();
        if (width > frame.width - 2 * inset_px() || height > frame.height - 2 * inset_px()) break;
        box = {n, width, height};
    }
    return box;
}

void fill_and_frame(const tidy::PixelBox& b) {
    const double r = b.left + b.width;
    const double t = b.bottom + b.height;
    glColor3f(1, 1, 1);
    draw::rectangle(GL_QUADS, b.left, b.bottom, r, t);
    print_mirror::solid_lines();
    print_mirror::set_line_width(1);
    glColor3f(0, 0, 0);
    draw::rectangle(GL_LINE_LOOP, b.left, b.bottom, r, t);
}

// The lines' points in window pixels, where the legend must not hide them. A long line is
// cut to what each pixel column shows first: the corners it covers stay the same, and
// placing against hundreds of thousands of points cost more than drawing them.
std::vector<tidy::PixelLine> in_pixels(Engine& engine, const std::vector<const Line*>& lines) {
    const double ww = engine.app.window_width;
    const double wh = engine.app.window_height;
    std::vector<tidy::PixelLine> drawn;
    for (const Line* line : lines) {
        tidy::PixelLine& pixels = drawn.emplace_back();
        const std::size_t n = std::min(line->x_data.size(), line->y_data.size());
        const auto point_at = [&](std::size_t i) {
            return PlotPoint{static_cast<float>(engine.data_to_window_x(line->x_data[i]) * ww),
                             static_cast<float>(engine.data_to_window_y(line->y_data[i]) * wh)};
        };
        const auto keep = [&](const PlotPoint& p) { pixels.push_back({p.x, p.y}); };
        if (worth_reducing(n, ww)) {
            reduce_to_columns(n, point_at, 1.0, keep);
            continue;
        }
        for (std::size_t i = 0; i < n; ++i)
            keep(point_at(i));
    }
    return drawn;
}

// The strings drawn so far, which the legend is not to hide: the axes' own texts among them.
std::vector<tidy::PixelBox> text_boxes(const std::vector<DrawnText>& texts) {
    std::vector<tidy::PixelBox> boxes;
    boxes.reserve(texts.size());
    for (const DrawnText& t : texts)
        boxes.push_back({t.left, t.bottom, t.width, t.height});
    return boxes;
}

struct PlacedLegend {
    LegendBox size;
    tidy::LegendPlace place;
};

// Where the legend hides no drawn text: when no place holds it whole, it gives up its last
// entries one by one until one does (a small window in large text). When even its first
// entry would hide a text there is no legend: a covered label is worse than a missing key,
// which the read-out gives on a click.
PlacedLegend placed_legend(const std::vector<std::string>& names, std::size_t lines,
                           const tidy::PixelBox& frame, const std::vector<tidy::PixelLine>& drawn,
                           const std::vector<tidy::PixelBox>& texts) {
    const auto place = [&](const LegendBox& size) {
        return PlacedLegend{
            size, tidy::place_legend(frame, size.width, size.height, inset_px(), drawn, texts)};
    };
    for (PlacedLegend fewer = place(legend_size(names, lines, frame, names.size()));
         fewer.size.entries > 0;
         fewer = place(legend_size(names, lines, frame, fewer.size.entries - 1)))
        if (fewer.place.texts_covered == 0) return fewer;
    return {};
}

} // namespace

void Engine::legend(std::vector<std::string> names) {
    if (Axes* axes = current_axes.get()) axes->legend_names = std::move(names);
}

void Engine::display_legend() {
    const Axes* axes = current_axes.get();
    if (axes == nullptr || axes->legend_names.empty() || axes->type != 0) return;
    const double ww = app.window_width;
    const double wh = app.window_height;
    const tidy::PixelBox frame{axes->position[0] * ww, axes->position[1] * wh,
                               axes->position[2] * ww, axes->position[3] * wh};
    const std::vector<const Line*> lines = tidy::lines_of(*axes, line_list);
    // The classic layout writes tick labels inside the frame: only the tidy one keeps clear.
    const std::vector<tidy::PixelBox> texts =
        app.tidy_layout ? text_boxes(drawn_texts) : std::vector<tidy::PixelBox>{};
    const auto [size, place] =
        placed_legend(axes->legend_names, lines.size(), frame, in_pixels(*this, lines), texts);
    if (size.entries == 0) return;
    drawn_legends.push_back({place.box, drawn_texts.size(), drawn_texts.size()});

    glDisable(GL_DEPTH_TEST); // the box covers the lines drawn before it
    draw::window_pixels(app.window_width, app.window_height);
    fill_and_frame(place.box);
    const auto half_w = static_cast<float>(frame.width / ww);
    const auto half_h = static_cast<float>(frame.height / wh);
    for (std::size_t k = 0; k < size.entries; ++k) {
        const double baseline = place.box.bottom + place.box.height - padding_px() -
                                (k + 1) * tidy::row_pitch_px() + tidy::text_descent_px() + 1;
        const double middle = baseline + (tidy::text_ascent_px() - tidy::text_descent_px()) / 2;
        const auto x0 = static_cast<float>(place.box.left + padding_px());
        draw_line_sample(*lines[k], x0, x0 + static_cast<float>(sample_px()),
                         static_cast<float>(middle), lines[k]->marker_size * half_w,
                         lines[k]->marker_size * half_h);
        draw_string(static_cast<float>((x0 + sample_px() + sample_gap_px()) / ww),
                    static_cast<float>(baseline / wh), axes->legend_names[k]);
        draw::window_pixels(app.window_width, app.window_height);
    }
    drawn_legends.back().end_name = drawn_texts.size();
    glEnable(GL_DEPTH_TEST);
}

} // namespace rizodozad
