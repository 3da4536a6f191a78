// The live view's picture as drawn, for shipped scenarios at the view's own window size and
// a small one: the boxes of every string drawn (labels of layers, pml ends and markers,
// ticks, titles, the index scale, the status lines) lie apart, no legend box covers a
// string but its own names, both pml ends are labelled, the index scale stands beside the
// space plot, and the read-out names the curve it reads.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lab/scenario/scenario_reader.h"
#include "lab/view/picture.h"
#include "lab/view/session.h"
#include "lab/view/window.h"
#include "rizodozad/core/engine.h"
#include "tests/support/gl_fixture.h"

namespace {

using lab::view::Picture;
using lab::view::Session;
using rizodozad::DrawnText;

struct Size {
    int width, height;
};
constexpr Size sizes[] = {{lab::view::window_width_px, lab::view::window_height_px}, {800, 600}};
const char* const scenarios[] = {"slab", "bragg_mirror", "ar_coating", "pml", "plasma_slab"};

bool apart(const rizodozad::tidy::PixelBox& a, const DrawnText& b) {
    return !overlap(a, {b.left, b.bottom, b.width, b.height});
}

std::string said(const DrawnText& t) {
    return "'" + t.text + "' at (" + std::to_string(t.left) + ", " + std::to_string(t.bottom) + ")";
}

int count_of(const std::vector<DrawnText>& texts, const std::string& text) {
    int n = 0;
    for (const DrawnText& t : texts)
        n += t.text == text ? 1 : 0;
    return n;
}

// Half the run: fields in the grid and in the probes' histories, spectra still empty.
void run_half(Session& session) {
    session.set_steps_per_frame(session.run().total_steps() / 2);
    session.command(lab::view::Command::run_pause);
    session.advance_frame();
}

void expect_texts_clear(const rizodozad::Engine& engine, const std::string& where) {
    const std::vector<DrawnText>& texts = engine.drawn_texts;
    for (std::size_t i = 0; i < texts.size(); ++i)
        for (std::size_t j = i + 1; j < texts.size(); ++j)
            EXPECT_FALSE(
                !apart({texts[i].left, texts[i].bottom, texts[i].width, texts[i].height}, texts[j]))
                << where << ": " << said(texts[i]) << " overlaps " << said(texts[j]);
    ASSERT_FALSE(engine.drawn_legends.empty()) << where;
    for (const auto& legend : engine.drawn_legends)
        for (std::size_t i = 0; i < texts.size(); ++i)
            if (i < legend.first_name || i >= legend.end_name)
                EXPECT_TRUE(apart(legend.box, texts[i]))
                    << where << ": a legend covers " << said(texts[i]);
}

class LabViewPicture : public testsupport::GlTest {};

} // namespace

TEST_F(LabViewPicture, LegendsAndTheIndexScaleCoverNoLabelAndBothPmlEndsAreNamed) {
    for (const char* name : scenarios)
        for (Size size : sizes) {
            const std::string where = std::string(name) + " at " + std::to_string(size.width) +
                                      "x" + std::to_string(size.height);
            Session session(lab::load_scenario(std::string(LAB_SCENARIOS) + "/" + name + ".toml"));
            run_half(session);
            Picture picture(session);
            picture.window_width = size.width;
            picture.window_height = size.height;
            picture.display_cycle();
            picture.display_cycle();
            const rizodozad::Engine& engine = internals(picture);
            expect_texts_clear(engine, where);
            const auto& s = session.run().scenario();
            const bool pml_both =
                s.boundary.left == lab::Boundary::pml && s.boundary.right == lab::Boundary::pml;
            if (pml_both) EXPECT_EQ(count_of(engine.drawn_texts, "PML"), 2) << where;
            // The index scale is an axes of its own right of the space plot's frame.
            for (const rizodozad::Axes& bar : engine.axes_list) {
                if (bar.type != rizodozad::axes_type::colorbar) continue;
                const auto frame = picture.axes_frame_px(bar.colorbar_for);
                ASSERT_TRUE(frame) << where;
                EXPECT_GT(bar.position[0] * size.width, frame->right) << where;
            }
        }
}

TEST_F(LabViewPicture, TheReadoutNamesTheCurveItReads) {
    Session session(lab::load_scenario(std::string(LAB_SCENARIOS) + "/slab.toml"));
    while (!session.run().finished())
        session.experiment().step();
    Picture picture(session);
    testsupport::size_like_window(picture);
    picture.display_cycle();
    // Two presses on the spectra plot near its top, where only T and its theory come
    // (R stays low): the first selects the plot, the second reads off.
    const auto& engine = internals(picture);
    const rizodozad::Axes* spectra = nullptr;
    for (const rizodozad::Axes& a : engine.axes_list)
        if (a.title == "Reflectance and transmittance") spectra = &a;
    ASSERT_NE(spectra, nullptr);
    const auto frame = picture.axes_frame_px(spectra->handle);
    ASSERT_TRUE(frame);
    const int x = static_cast<int>(frame->left + 0.5 * (frame->right - frame->left));
    const int y = static_cast<int>(frame->top + 0.02 * (frame->bottom - frame->top));
    for (int press = 0; press < 2; ++press) {
        picture.axes_click(rizodozad::mouse::left_button, rizodozad::mouse::pressed, x, y);
        picture.axes_click(rizodozad::mouse::left_button, rizodozad::mouse::released, x, y);
    }
    picture.display_cycle();
    std::string readout;
    for (const DrawnText& t : engine.drawn_texts)
        if (t.text.find("nearest: ") != std::string::npos) readout = t.text;
    EXPECT_NE(readout.find("nearest: T"), std::string::npos) << readout;
    EXPECT_EQ(readout.find("line "), std::string::npos) << readout;
}
