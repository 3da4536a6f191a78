// The live view's picture at every text scale from a phone's width to full HD, as drawn:
// every string and the index scale lie inside the window, the labels along the space plot
// stand inside its frame apart from one another and from the legend's entries, and the
// status lines (a long news line among them) keep off one another, off the plots and off
// every other string.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "lab/scenario/scenario_reader.h"
#include "lab/view/picture.h"
#include "lab/view/plot_data.h"
#include "lab/view/session.h"
#include "lab/view/window_scale.h"
#include "rizodozad/core/engine.h"
#include "rizodozad/core/font_metrics.h"
#include "tests/support/gl_fixture.h"

namespace {

using rizodozad::DrawnText;
using rizodozad::tidy::PixelBox;

struct Size {
    int width, height;
};
constexpr Size sizes[] = {{390, 800}, {800, 600}, {1280, 800}, {1920, 1080}};
constexpr double scales[] = {1, 1.5, 2, 3};
const char* const scenarios[] = {"slab", "bragg_mirror"};
const char* const long_news = "csv: wrote fields.csv, probes.csv and spectra.csv in the "
                              "folder the scenario came from, next to its earlier runs";

PixelBox box_of(const DrawnText& t) { return {t.left, t.bottom, t.width, t.height}; }

std::string said(const DrawnText& t) {
    return "'" + t.text + "' at (" + std::to_string(t.left) + ", " + std::to_string(t.bottom) + ")";
}

// Half the run, so that fields, probe traces and labels are all drawn.
void run_half(lab::view::Session& session) {
    session.set_steps_per_frame(session.run().total_steps() / 2);
    session.command(lab::view::Command::run_pause);
    session.advance_frame();
    session.say(long_news);
}

// What the space plot writes along its frame: its regions' and its markers' names.
std::vector<std::string> label_texts(const lab::Scenario& s) {
    std::vector<std::string> texts{"source"};
    for (const lab::view::Span& span : lab::view::layer_spans(s))
        texts.push_back(span.label);
    for (const lab::view::Span& span : lab::view::pml_spans(s))
        texts.push_back(span.label);
    for (const lab::Probe& probe : s.probes)
        texts.push_back(probe.name);
    return texts;
}

bool in_legend(const rizodozad::Engine& engine, std::size_t i) {
    for (const auto& legend : engine.drawn_legends)
        if (i >= legend.first_name && i < legend.end_name) return true;
    return false;
}

// A label stands inside the frame: its baseline on or above the frame's bottom edge (the
// markers' first row stands on it), the rest of its box within the frame; strings are
// drawn at whole pixels.
void expect_inside_frame(const DrawnText& t, const lab::view::PlotFrame& frame, int window_height,
                         double descent_px, const std::string& where) {
    constexpr double rounding_px = 1;
    const double bottom_edge = window_height - frame.bottom_px;
    const double top_edge = window_height - frame.top_px;
    EXPECT_GE(t.left, frame.left_px - rounding_px) << where << ": " << said(t);
    EXPECT_LE(t.left + t.width, frame.right_px + rounding_px) << where << ": " << said(t);
    EXPECT_GE(t.bottom + descent_px, bottom_edge - rounding_px) << where << ": " << said(t);
    EXPECT_LE(t.bottom + t.height, top_edge + rounding_px) << where << ": " << said(t);
}

void expect_status_clear(const rizodozad::Engine& engine, const lab::view::Picture& picture,
                         const std::string& where) {
    std::vector<PixelBox> frames;
    for (const rizodozad::Axes& a : engine.axes_list)
        if (const auto f = picture.axes_frame_px(a.handle); f && !a.children.empty())
            frames.push_back({f->left, picture.window_height - f->bottom, f->right - f->left,
                              f->bottom - f->top});
    for (const rizodozad::FigureText& line : engine.figure_texts) {
        const DrawnText box =
            rizodozad::figure_text_box(line, picture.window_width, picture.window_height);
        EXPECT_LE(box.left + box.width, picture.window_width) << where << ": " << said(box);
        for (const PixelBox& frame : frames)
            EXPECT_FALSE(overlap(box_of(box), frame)) << where << ": " << said(box);
        for (const DrawnText& t : engine.drawn_texts)
            if (t.text != line.text)
                EXPECT_FALSE(overlap(box_of(box), box_of(t)))
                    << where << ": " << said(box) << " overlaps " << said(t);
    }
}

void expect_picture_fits(const lab::view::Session& session, Size size, double scale,
                         const std::string& where) {
    lab::view::Picture picture(session);
    picture.window_width = size.width;
    picture.window_height = size.height;
    picture.set_text_scale(scale);
    glViewport(0, 0, size.width, size.height); // as the window's reshape sets it
    picture.display_cycle();
    picture.display_cycle();
    rizodozad::Engine& engine = internals(picture);
    const std::vector<DrawnText>& texts = engine.drawn_texts;
    const std::vector<std::string> labels = label_texts(session.run().scenario());
    const double descent_px = picture.text_extent_px("").descent;
    std::vector<const DrawnText*> shown_labels;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const DrawnText& t = texts[i];
        EXPECT_TRUE(t.left >= 0 && t.bottom >= 0 && t.left + t.width <= size.width &&
                    t.bottom + t.height <= size.height)
            << where << ": outside the window " << said(t);
        if (std::find(labels.begin(), labels.end(), t.text) == labels.end() || in_legend(engine, i))
            continue;
        expect_inside_frame(t, picture.space_frame(), size.height, descent_px, where);
        for (std::size_t j = 0; j < texts.size(); ++j)
            if (in_legend(engine, j))
                EXPECT_FALSE(overlap(box_of(t), box_of(texts[j])))
                    << where << ": legend entry " << said(texts[j]) << " covers " << said(t);
        for (const DrawnText* other : shown_labels)
            EXPECT_FALSE(overlap(box_of(t), box_of(*other)))
                << where << ": " << said(t) << " overlaps " << said(*other);
        shown_labels.push_back(&t);
    }
    for (const rizodozad::Axes& bar : engine.axes_list)
        if (bar.type == rizodozad::axes_type::colorbar)
            EXPECT_LE(bar.position[0] + bar.position[2], 1.0f) << where;
    expect_status_clear(engine, picture, where);
}

std::vector<DrawnText> drawn_texts(const lab::view::Session& session, Size size, double scale) {
    lab::view::Picture picture(session);
    picture.window_width = size.width;
    picture.window_height = size.height;
    picture.set_text_scale(scale);
    glViewport(0, 0, size.width, size.height);
    picture.display_cycle();
    return internals(picture).drawn_texts;
}

// The help's lines, keys and meanings inside the window and apart from one another: the
// help is composed last, so its texts are those drawn beyond the picture's own.
void expect_help_apart(lab::view::Session& session, Size size, double scale,
                       const std::string& where) {
    const std::size_t without_help = drawn_texts(session, size, scale).size();
    session.command(lab::view::Command::toggle_help);
    const std::vector<DrawnText> texts = drawn_texts(session, size, scale);
    session.command(lab::view::Command::toggle_help);
    ASSERT_GE(texts.size(), without_help + 2 * lab::view::line_key_help().size() + 1) << where;
    for (std::size_t i = without_help; i < texts.size(); ++i) {
        const DrawnText& t = texts[i];
        EXPECT_TRUE(t.left >= 0 && t.bottom >= 0 && t.left + t.width <= size.width &&
                    t.bottom + t.height <= size.height)
            << where << ": outside the window " << said(t);
        for (std::size_t j = without_help; j < i; ++j)
            EXPECT_FALSE(overlap(box_of(t), box_of(texts[j])))
                << where << ": " << said(t) << " overlaps " << said(texts[j]);
    }
}

class LabViewFit : public testsupport::GlTest {};

} // namespace

TEST_F(LabViewFit, TextsLabelsAndStatusLinesFitEveryScaleAndWindow) {
    for (const char* name : scenarios) {
        lab::view::Session session(
            lab::load_scenario(std::string(LAB_SCENARIOS) + "/" + name + ".toml"));
        run_half(session);
        for (Size size : sizes)
            for (double scale : scales)
                expect_picture_fits(session, size, scale,
                                    std::string(name) + " at " + std::to_string(size.width) + "x" +
                                        std::to_string(size.height) + " scale " +
                                        std::to_string(scale));
    }
}

// At scale 1 and at the scale each window picks for itself; a forced scale of 2 in a phone's
// window or 3 in an 800-pixel one leaves no room for the help's 17 lines, broken or not.
TEST_F(LabViewFit, HelpLinesStayApartAtTheWindowsOwnScale) {
    lab::view::Session session(lab::load_scenario(std::string(LAB_SCENARIOS) + "/slab.toml"));
    for (Size size : sizes)
        for (double scale : {1.0, lab::view::scale_for_window_height(size.height)})
            expect_help_apart(session, size, scale,
                              std::to_string(size.width) + "x" + std::to_string(size.height) +
                                  " scale " + std::to_string(scale));
}
