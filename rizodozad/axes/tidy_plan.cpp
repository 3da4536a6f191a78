// Planning one axes of the tidy layout: ticks, labels and margins settle together,
// since the ticks that fit depend on the frame and the frame on the labels' widths.
#include "rizodozad/axes/tidy_plan.h"

#include <algorithm>
#include <cmath>

#include "rizodozad/axes/tidy_ticks.h"
#include "rizodozad/handles.h"

namespace rizodozad::tidy {

namespace {

constexpr int settle_rounds = 4; // the plan stops changing after two in practice
double first_x_spacing_px() { return font::scaled_px(50); } // before the labels' widths are known
double row_gap_px() { return font::scaled_px(12); }         // between two texts sharing a row
double min_frame_height_px() { return 2 * row_pitch_px(); } // room for two labelled y ticks
const double relative_slack = 1e-9;

bool power_of_ten(double v) {
    const double e = std::log10(v);
    return std::fabs(e - std::round(e)) < relative_slack;
}

AxisMarks marks_once(const std::array<double, 2>& lim, int scale, double length_px,
                     double spacing_px) {
    AxisMarks marks;
    if (scale == axis_scale::logarithmic) {
        const LogTicks ticks = decade_ticks(lim[0], lim[1], length_px, spacing_px);
        marks.majors = ticks.majors;
        marks.minors = ticks.minors;
    } else {
        marks.majors = linear_ticks(lim[0], lim[1], length_px, spacing_px);
    }
    marks.labels = labels_of(marks.majors, scale);
    return marks;
}

double widest(const std::vector<std::string>& texts, TextWidth width_of) {
    double w = 0;
    for (const std::string& t : texts)
        w = std::max(w, width_of(t));
    return w;
}

// The x axis: labels stand side by side, so the spacing grows with the widest label.
AxisMarks x_marks(const Axes& axes, double length_px, TextWidth width_of) {
    double spacing = first_x_spacing_px();
    AxisMarks marks;
    for (int round = 0; round < settle_rounds; ++round) {
        marks = marks_once(axes.x_lim, axes.x_scale, length_px, spacing);
        const double needed = widest(marks.labels.labels, width_of) + min_x_label_gap_px();
        if (needed <= spacing) break;
        spacing = needed;
    }
    return marks;
}

} // namespace

AxisLabels labels_of(const std::vector<double>& majors, int scale) {
    const bool decades = scale == axis_scale::logarithmic && !majors.empty() &&
                         std::all_of(majors.begin(), majors.end(), power_of_ten);
    if (!decades) return format_axis_labels(majors);
    AxisLabels labels;
    labels.labels = format_decade_labels(majors);
    return labels;
}

TextRows text_rows(const Axes& axes, const PixelBox& slot, const std::string& y_header,
                   const std::string& x_footer, bool x_tick_labels, int dropped,
                   TextWidth width_of) {
    TextRows rows;
    const double title_px = width_of(axes.title);
    const double y_px = width_of(y_header);
    if (!axes.title.empty() && dropped < drop_title) rows.title = rows.header_count++;
    if (!y_header.empty() && dropped < drop_y_header) {
        const bool shares = rows.title >= 0 && y_px + row_gap_px() + title_px / 2 <= slot.width / 2;
        rows.y_header = shares ? rows.title : rows.header_count++;
    }
    if (axes.mouse_capture == 1 && dropped < drop_readout) rows.readout = rows.header_count++;
    rows.footer_count = x_tick_labels ? 1 : 0;
    if (!x_footer.empty() && dropped < drop_x_footer) rows.x_footer = rows.footer_count++;
    return rows;
}

namespace {

bool shows_x_tick_labels(const Axes& axes, const AxisMarks& x) {
    return axes.box != 0 && axes.show_tick_labels != 0 && !x.majors.empty();
}

FrameNeeds needs_of(const AxesPlan& plan, const Axes& axes, TextWidth width_of) {
    FrameNeeds needs;
    needs.header_rows = plan.rows.header_count;
    needs.footer_rows = plan.rows.footer_count;
    const bool labels = axes.box != 0 && axes.show_tick_labels != 0;
    const std::vector<std::string>& xl = plan.x.labels.labels;
    const double y_width = labels ? widest(plan.y.labels.labels, width_of) : 0;
    const double first_half = labels && !xl.empty() ? width_of(xl.front()) / 2 : 0;
    const double last_half = labels && !xl.empty() ? width_of(xl.back()) / 2 : 0;
    needs.left_px = std::max(y_width > 0 ? y_width + tick_label_gap_px() : 0.0, first_half);
    needs.right_px = std::max(last_half, plan.colorbar_reach_px);
    return needs;
}

// Ticks, labels and margins settled for one choice of the texts given up.
AxesPlan settled_plan(const Axes& axes, const PixelBox& slot, double colorbar_reach_px,
                      TextWidth width_of, const FrameNeeds& floor, int dropped) {
    AxesPlan plan;
    plan.slot = slot;
    plan.colorbar_reach_px = colorbar_reach_px;
    FrameNeeds needs = widest_needs(floor, {1, 2, first_x_spacing_px(), first_x_spacing_px() / 2});
    plan.frame = frame_within(slot, needs);
    for (int round = 0; round < settle_rounds; ++round) {
        plan.x = x_marks(axes, plan.frame.width, width_of);
        plan.y = marks_once(axes.y_lim, axes.y_scale, plan.frame.height, row_pitch_px());
        plan.y_header = joined(axes.y_label, plan.y.labels.exponent);
        plan.x_footer = joined(axes.x_label, plan.x.labels.exponent);
        plan.rows = text_rows(axes, slot, plan.y_header, plan.x_footer,
                              shows_x_tick_labels(axes, plan.x), dropped, width_of);
        const FrameNeeds next = widest_needs(floor, needs_of(plan, axes, width_of));
        const bool settled = same_needs(next, needs);
        needs = next;
        plan.frame = frame_within(slot, needs);
        if (settled) break;
    }
    plan.needs = needs;
    return plan;
}

} // namespace

AxisMarks axis_marks(const std::array<double, 2>& lim, int scale, double length_px,
                     double min_spacing_px) {
    return marks_once(lim, scale, length_px, min_spacing_px);
}

std::string joined(const std::string& label, const std::string& exponent) {
    if (label.empty() || exponent.empty()) return label + exponent;
    return label + "  " + exponent;
}

FrameNeeds widest_needs(const FrameNeeds& a, const FrameNeeds& b) {
    return {std::max(a.header_rows, b.header_rows), std::max(a.footer_rows, b.footer_rows),
            std::max(a.left_px, b.left_px), std::max(a.right_px, b.right_px)};
}

bool same_needs(const FrameNeeds& a, const FrameNeeds& b) {
    return a.header_rows == b.header_rows && a.footer_rows == b.footer_rows &&
           a.left_px == b.left_px && a.right_px == b.right_px;
}

AxesPlan plan_axes(const Axes& axes, const PixelBox& slot, double colorbar_labels_px,
                   TextWidth width_of, const FrameNeeds& floor) {
    const double reach = colorbar_labels_px < 0
                             ? 0
                             : colorbar_gap_px() + colorbar_width_px() + colorbar_tick_px() +
                                   tick_label_gap_px() + colorbar_labels_px;
    AxesPlan plan;
    for (int dropped = drop_nothing; dropped <= drop_title; ++dropped) {
        plan = settled_plan(axes, slot, reach, width_of, floor, dropped);
        if (plan.frame.height >= min_frame_height_px()) break;
    }
    return plan;
}

std::vector<std::string> colour_bar_labels(const std::vector<double>& ticks) {
    AxisLabels labels = format_axis_labels(ticks);
    const auto top = std::max_element(ticks.begin(), ticks.end());
    if (top != ticks.end() && !labels.exponent.empty())
        labels.labels[static_cast<std::size_t>(top - ticks.begin())] += " " + labels.exponent;
    return labels.labels;
}

std::vector<const Line*> lines_of(const Axes& axes, const std::vector<Line>& lines) {
    std::vector<const Line*> found;
    for (int child : axes.children) {
        const int index = handle_index(child);
        if (handle_kind(child) == kind::line && index >= 0 &&
            static_cast<std::size_t>(index) < lines.size())
            found.push_back(&lines[static_cast<std::size_t>(index)]);
    }
    return found;
}

double title_left(const PixelBox& slot, double title_px) {
    return std::max(slot.left + edge_gap_px(), slot.left + (slot.width - title_px) / 2);
}

double y_header_left(const PixelBox& slot) { return slot.left + edge_gap_px(); }

double readout_left(const PixelBox& slot, const PixelBox& frame, double readout_px) {
    const double rightmost = slot.left + slot.width - edge_gap_px() - readout_px;
    return std::max(slot.left + edge_gap_px(), std::min(frame.left, rightmost));
}

double footer_left(const PixelBox& slot, const PixelBox& frame, double footer_px) {
    const double centred = frame.left + (frame.width - footer_px) / 2;
    const double rightmost = slot.left + slot.width - edge_gap_px() - footer_px;
    return std::max(slot.left + edge_gap_px(), std::min(centred, rightmost));
}

} // namespace rizodozad::tidy
