// The tidy layout pass: after the configuration pass has set the limits, every
// two-dimensional axes gets its frame, ticks and labels planned in its slot, and each
// colour bar is moved beside its plot's new frame.
#include <algorithm>
#include <cstddef>

#include "rizodozad/axes/tidy_plan.h"
#include "rizodozad/core/engine.h"
#include "rizodozad/core/font_metrics.h"

namespace rizodozad {

namespace {

double text_px(const std::string& text) { return font::width_px(text); }

std::array<float, 4> as_position(const tidy::PixelBox& box, double ww, double wh) {
    return {static_cast<float>(box.left / ww), static_cast<float>(box.bottom / wh),
            static_cast<float>(box.width / ww), static_cast<float>(box.height / wh)};
}

std::array<float, 4> as_array(const tidy::PixelBox& box) {
    return {static_cast<float>(box.left), static_cast<float>(box.bottom),
            static_cast<float>(box.width), static_cast<float>(box.height)};
}

// A position the tidy layout wrote stands for the one the composition gave.
void restore_composed(Axes& axes) {
    if (axes.position != axes.tidy_position) axes.composed_position = axes.position;
    axes.position = axes.composed_position;
}

const Axes* colorbar_of(const std::vector<Axes>& list, const Axes& plot) {
    for (const Axes& a : list)
        if (a.type == axes_type::colorbar && a.colorbar_for == plot.handle) return &a;
    return nullptr;
}

// The widest label of a colour bar with these ticks.
double widest_label(const tidy::AxisMarks& marks) {
    double w = 0;
    for (const std::string& label : tidy::colour_bar_labels(marks.majors))
        w = std::max(w, text_px(label));
    return w;
}

tidy::AxisMarks colour_marks(const Axes& bar, double length_px) {
    return tidy::axis_marks(bar.c_lim, 0, length_px, tidy::row_pitch_px());
}

// Plans a plot, with room for its colour bar's labels at the bar's final length.
tidy::AxesPlan plan_with_colorbar(const Axes& axes, const Axes* bar, const tidy::PixelBox& slot,
                                  const tidy::FrameNeeds& floor) {
    if (bar == nullptr) return tidy::plan_axes(axes, slot, -1, text_px, floor);
    double labels_px = widest_label(colour_marks(*bar, slot.height));
    tidy::AxesPlan plan = tidy::plan_axes(axes, slot, labels_px, text_px, floor);
    const double needed = widest_label(colour_marks(*bar, plan.frame.height));
    if (needed > labels_px) plan = tidy::plan_axes(axes, slot, needed, text_px, floor);
    return plan;
}

struct Planned {
    Axes* axes = nullptr;
    tidy::PixelBox slot;
    tidy::AxesPlan plan;
};

// Axes composed at one position (a layer drawn over another) share the widest margins
// of them all, so that their frames coincide.
void share_frames(std::vector<Planned>& planned, const std::vector<Axes>& list) {
    for (Planned& p : planned) {
        tidy::FrameNeeds floor = p.plan.needs;
        for (const Planned& other : planned)
            if (other.axes->composed_position == p.axes->composed_position)
                floor = tidy::widest_needs(floor, other.plan.needs);
        if (!tidy::same_needs(floor, p.plan.needs))
            p.plan = plan_with_colorbar(*p.axes, colorbar_of(list, *p.axes), p.slot, floor);
    }
}

} // namespace

void Engine::lay_out_tidy() {
    if (app.window_width <= 0 || app.window_height <= 0) return;
    const double ww = app.window_width;
    const double wh = app.window_height;
    std::vector<tidy::PixelBox> obstacles;
    for (const FigureText& t : figure_texts) {
        const DrawnText box = figure_text_box(t, app.window_width, app.window_height);
        obstacles.push_back({box.left, box.bottom, box.width, box.height});
    }

    std::vector<Planned> planned;
    for (Axes& axes : axes_list) {
        if (axes.type != axes_type::two_d || axes.children.empty()) continue;
        restore_composed(axes);
        const tidy::PixelBox slot =
            tidy::clear_of(tidy::slot_around(axes.position, ww, wh), obstacles);
        planned.push_back(
            {&axes, slot, plan_with_colorbar(axes, colorbar_of(axes_list, axes), slot, {})});
    }
    share_frames(planned, axes_list);
    for (const Planned& p : planned) {
        Axes& axes = *p.axes;
        axes.x_tick = p.plan.x.majors;
        axes.y_tick = p.plan.y.majors;
        axes.x_minor_tick = p.plan.x.minors;
        axes.y_minor_tick = p.plan.y.minors;
        axes.tidy_slot_px = as_array(p.slot);
        const tidy::TextRows& rows = p.plan.rows;
        axes.tidy_rows = {rows.title, rows.y_header, rows.readout, rows.x_footer};
        axes.position = as_position(p.plan.frame, ww, wh);
        axes.tidy_position = axes.position;
    }

    for (Axes& bar : axes_list) {
        if (bar.type != axes_type::colorbar || bar.colorbar_for == 0) continue;
        const auto plot = std::find_if(axes_list.begin(), axes_list.end(),
                                       [&](const Axes& a) { return a.handle == bar.colorbar_for; });
        if (plot == axes_list.end()) continue;
        const auto& frame = plot->position;
        const double left_px = (frame[0] + frame[2]) * ww + tidy::colorbar_gap_px();
        bar.position =
            as_position({left_px, frame[1] * wh, tidy::colorbar_width_px(), frame[3] * wh}, ww, wh);
        bar.c_tick = colour_marks(bar, frame[3] * wh).majors;
    }
}

} // namespace rizodozad
