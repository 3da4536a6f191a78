// The tidy layout's arithmetic: slots of subplots tile the window, figure texts are cut
// out of them, frames leave room for their labels, and a cramped plot gives up its texts
// in order. Text widths come from a fixed-width stand-in font of 6 pixels a character.
#include <gtest/gtest.h>

#include <string>

#include "rizodozad/axes/tidy_plan.h"

namespace rizodozad::tidy {
namespace {

double six_px(unsigned char) { return 6; }
double six_px_each(const std::string& text) { return 6.0 * text.size(); }

// A subplot's default rectangle within cell (column, row) of a grid, as subplot makes it.
std::array<float, 4> subplot_position(int column, int row, int columns, int rows) {
    return {static_cast<float>((column + 0.13) / columns), static_cast<float>((row + 0.11) / rows),
            static_cast<float>(0.775 / columns), static_cast<float>(0.815 / rows)};
}

TEST(TidySlots, SubplotSlotsAreTheirGridCells) {
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 2; ++column) {
            const PixelBox slot = slot_around(subplot_position(column, row, 2, 3), 800, 600);
            EXPECT_NEAR(slot.left, column * 400, 1e-3);
            EXPECT_NEAR(slot.bottom, row * 200, 1e-3);
            EXPECT_NEAR(slot.width, 400, 1e-3);
            EXPECT_NEAR(slot.height, 200, 1e-3);
        }
}

TEST(TidySlots, AStatusLineIsCutOutOfTheSlotsItCrosses) {
    const PixelBox status{4, 2, 300, 13};
    const PixelBox cleared = clear_of({0, 0, 400, 200}, {status});
    EXPECT_DOUBLE_EQ(cleared.bottom, 15);
    EXPECT_DOUBLE_EQ(cleared.height, 185);
    EXPECT_DOUBLE_EQ(cleared.width, 400);
    EXPECT_FALSE(overlap(clear_of({400, 0, 400, 200}, {status}), status));
}

TEST(TidyPlan, TheFrameLeavesRoomForEveryText) {
    Axes axes;
    axes.title = "Ez in space";
    axes.x_label = "cell index";
    axes.y_label = "Ez (V/m)";
    axes.x_lim = {0, 200};
    axes.y_lim = {-2e-4, 2e-4}; // labels with a common exponent
    const PixelBox slot{0, 0, 800, 300};
    const AxesPlan plan = plan_axes(axes, slot, -1, six_px_each);
    EXPECT_EQ(plan.y.labels.exponent, "x1e-6");
    EXPECT_EQ(plan.y_header, "Ez (V/m)  x1e-6");
    double widest = 0;
    for (const std::string& label : plan.y.labels.labels)
        widest = std::max(widest, six_px_each(label));
    EXPECT_GE(plan.frame.left - slot.left, widest + tick_label_gap_px());
    // Title and y header share the top row, the read-out has its own; the x tick labels
    // and the x label take two rows below.
    EXPECT_EQ(plan.rows.title, 0);
    EXPECT_EQ(plan.rows.y_header, 0);
    EXPECT_EQ(plan.rows.readout, 1);
    EXPECT_EQ(plan.rows.x_footer, 1);
    EXPECT_LE(footer_baseline(plan.frame, 1) - text_descent_px(), slot.bottom + slot.height);
    EXPECT_GE(footer_baseline(plan.frame, 1) - text_descent_px(), slot.bottom);
    EXPECT_LE(header_baseline(plan.frame, 1) + text_ascent_px(), slot.bottom + slot.height);
}

TEST(TidyPlan, ACrampedPlotGivesUpTheXLabelFirstThenTheReadout) {
    Axes axes;
    axes.title = "title";
    axes.x_label = "x";
    axes.y_label = "a y label much too long to share the title's row";
    const AxesPlan roomy = plan_axes(axes, {0, 0, 400, 200}, -1, six_px_each);
    EXPECT_GE(roomy.rows.x_footer, 0);
    const AxesPlan cramped = plan_axes(axes, {0, 0, 400, 120}, -1, six_px_each);
    EXPECT_EQ(cramped.rows.x_footer, -1);
    EXPECT_GE(cramped.rows.readout, 0);
    const AxesPlan tiny = plan_axes(axes, {0, 0, 400, 100}, -1, six_px_each);
    EXPECT_EQ(tiny.rows.readout, -1);
    EXPECT_GE(tiny.rows.title, 0);
}

TEST(TidyText, AColourBarNamesItsExponentAtTheTop) {
    EXPECT_EQ(colour_bar_labels({0, 2e-6, 4e-6}), (std::vector<std::string>{"0", "2", "4 x1e-6"}));
    EXPECT_EQ(colour_bar_labels({0, 0.5, 1}), (std::vector<std::string>{"0.0", "0.5", "1.0"}));
}

TEST(TidyText, LongTextsAreCutWithDots) {
    EXPECT_EQ(fitted("abcdef", 36, six_px), "abcdef");
    EXPECT_EQ(fitted("abcdef", 30, six_px), "ab...");
    EXPECT_EQ(fitted("abcdef", 20, six_px), "");
}

} // namespace
} // namespace rizodozad::tidy
