// The display cycle: which passes run, in what order, what they print and build.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "rizodozad/core/engine.h"
#include "tests/support/feedback.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/picture.h"

namespace rizodozad {
namespace {

using Lines = std::vector<std::string>;

const std::string allocation_header = "============================= allocation ...";
const std::string configuration_header = "============================= configulation ...";
const std::string display_header = "============================= display ...";

// A picture whose composition the test supplies; counts how often it runs.
using testsupport::Picture;

class DisplayCycle : public testsupport::GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        testsupport::size_like_window(picture);
    }

    // Every line printed during one call.
    Lines traced_cycle() {
        testing::internal::CaptureStdout();
        picture.display_cycle();
        std::istringstream out(testing::internal::GetCapturedStdout());
        Lines lines;
        for (std::string line; std::getline(out, line);)
            lines.push_back(line);
        return lines;
    }

    // Only the cycle's own lines: pass headers, their ends and mismatches.
    Lines cycle_lines() {
        Lines own;
        for (const auto& line : traced_cycle())
            if (line.rfind("=====", 0) == 0 || line == "done" || line == " done " ||
                line.rfind("not match", 0) == 0)
                own.push_back(line);
        return own;
    }

    Picture picture;
};

void compose_one_plot(Picture& p) {
    p.layer("a");
    p.subplot(3, 1, 1);
    p.plot({0, 1}, {2, 3});
}

TEST_F(DisplayCycle, FirstCallAllocatesConfiguresAndDisplays) {
    picture.debug = 1;
    picture.composition = compose_one_plot;
    const Lines lines = traced_cycle();

    const Lines composed_records{"handle:    1 Figure", "handle:    6 Layer", "handle:    2 Axes ",
                                 "handle:  102 Axes ",  "handle:  106 Layer", "handle:  202 Axes ",
                                 "handle:  302 Axes ",  "handle:    3 Line"};
    Lines expected{allocation_header};
    for (const auto& record : composed_records)
        expected.push_back("mode: 0 " + record);
    expected.push_back("done");
    expected.push_back(configuration_header);
    for (const auto& record : composed_records)
        expected.push_back("mode: 1 " + record);
    expected.push_back("done");
    expected.push_back(display_header);
    ASSERT_GE(lines.size(), expected.size() + 1);
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + static_cast<long>(expected.size())), expected);
    EXPECT_EQ(lines.back(), " done ");

    // The display walk names the figure and each visible layer, without composing.
    Lines walked;
    for (auto it = lines.begin() + static_cast<long>(expected.size()); it != lines.end(); ++it)
        if (it->find("Figure") != std::string::npos || it->find("Layer") != std::string::npos)
            walked.push_back(*it);
    EXPECT_EQ(walked, (Lines{"mode: 2 handle:    1 Figure", "mode: 2 handle:    6 Layer (  ) ",
                             "mode: 2 handle:  106 Layer ( a ) "}));
    EXPECT_EQ(internals(picture).mode, display_mode::configuration);
    EXPECT_EQ(picture.compositions, 2);
}

TEST_F(DisplayCycle, LaterCallsOnlyConfigureAndDisplayTheSameRecords) {
    picture.debug = 1;
    picture.composition = compose_one_plot;
    traced_cycle();

    EXPECT_EQ(cycle_lines(), (Lines{configuration_header, "done", display_header, " done "}));
    EXPECT_EQ(picture.compositions, 3);
    EXPECT_EQ(internals(picture).mode, display_mode::configuration);
    ASSERT_EQ(internals(picture).figure_list.size(), 1u);
    EXPECT_EQ(internals(picture).figure_list[0].children, (std::vector<int>{6, 106}));
    EXPECT_EQ(internals(picture).layer_list[1].children, (std::vector<int>{202, 302}));
    EXPECT_EQ(internals(picture).axes_list[3].children, (std::vector<int>{3}));
    EXPECT_EQ(internals(picture).line_list[0].y_data, (std::vector<double>{2, 3}));
}

TEST_F(DisplayCycle, QuietWithoutDebug) {
    picture.composition = compose_one_plot;
    EXPECT_TRUE(traced_cycle().empty());
    EXPECT_TRUE(traced_cycle().empty());
}

// Like the field history plot: a line appears once there is data for it.
TEST_F(DisplayCycle, GrownCompositionIsRebuiltWithinTheSameCall) {
    bool grown = false;
    picture.debug = 1;
    picture.composition = [&](Picture& p) {
        p.plot({1}, {1});
        if (grown) p.plot({2}, {2});
    };
    traced_cycle();
    grown = true;

    EXPECT_EQ(cycle_lines(),
              (Lines{configuration_header, "not match in Line", "done", allocation_header, "done",
                     configuration_header, "done", display_header, " done "}));
    EXPECT_EQ(internals(picture).mode, display_mode::configuration);
    ASSERT_EQ(internals(picture).line_list.size(), 2u);
    EXPECT_EQ(internals(picture).line_list[0].x_data, (std::vector<double>{1}));
    EXPECT_EQ(internals(picture).line_list[1].x_data, (std::vector<double>{2}));
}

TEST_F(DisplayCycle, EveryMismatchingKindIsReportedInOrder) {
    bool grown = false;
    picture.debug = 1;
    picture.composition = [&](Picture& p) {
        if (!grown) return;
        p.create_layer();
        p.create_text();
        p.create_surface();
        p.create_line();
    };
    traced_cycle();
    grown = true;
    const Lines lines = cycle_lines();
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + 6),
              (Lines{configuration_header, "not match in Axes", "not match in Line",
                     "not match in Surface", "not match in Text", "not match in Layer"}));
}

// A composition that never builds in the allocation pass what it composes
// afterwards: each call rebuilds once, then draws what exists instead of looping.
TEST_F(DisplayCycle, CompositionThatNeverAgreesIsDrawnAfterOneRebuild) {
    picture.debug = 1;
    picture.pointer_x = 10; // the layer list gives the frame something to draw
    picture.composition = [](Picture& p) {
        p.plot({0, 100}, {0, 1});
        if (internals(p).mode == display_mode::configuration) p.create_text();
    };
    const Lines mismatched_configuration{configuration_header, "not match in Text", "done"};
    Lines first{allocation_header, "done"};
    first.insert(first.end(), mismatched_configuration.begin(), mismatched_configuration.end());
    first.insert(first.end(), {allocation_header, "done"});
    first.insert(first.end(), mismatched_configuration.begin(), mismatched_configuration.end());
    first.insert(first.end(), {display_header, " done "});
    EXPECT_EQ(cycle_lines(), first);
    EXPECT_EQ(internals(picture).mode, display_mode::configuration);

    Lines later(mismatched_configuration);
    later.insert(later.end(), first.begin() + 5, first.end());
    EXPECT_EQ(cycle_lines(), later);

    picture.debug = 0;
    const auto drawn = testsupport::capture_feedback([&] { picture.display_cycle(); });
    EXPECT_GT(drawn.count(testsupport::PrimitiveKind::line), 0u);
    EXPECT_EQ(internals(picture).mode, display_mode::configuration);

    // Limits and ticks were set even though the last configuration pass mismatched.
    const Axes& axes = internals(picture).axes_list[1];
    EXPECT_LT(axes.x_lim[0], 0);
    EXPECT_GT(axes.x_lim[1], 100);
    EXPECT_FALSE(axes.x_tick.empty());
    for (const Axes& other : internals(picture).axes_list)
        EXPECT_FALSE(other.c_tick.empty());
}

TEST_F(DisplayCycle, ACycleStartedFromTheCompositionIsRefused) {
    picture.debug = 1;
    picture.composition = [](Picture& p) {
        compose_one_plot(p);
        p.display_cycle();
    };
    EXPECT_EQ(cycle_lines(), (Lines{allocation_header, "done", configuration_header, "done",
                                    display_header, " done "}));
    EXPECT_EQ(picture.compositions, 2);
    EXPECT_EQ(internals(picture).line_list.size(), 1u);
}

TEST_F(DisplayCycle, UnknownModeStartsFromFreshRecords) {
    picture.composition = compose_one_plot;
    picture.display_cycle();
    internals(picture).mode = 7;
    internals(picture).line_list[0].color = "r";
    picture.display_cycle();
    EXPECT_EQ(internals(picture).mode, display_mode::configuration);
    EXPECT_EQ(internals(picture).line_list[0].color, "b");
}

// A fresh allocation pass forgets what the layer list and the mouse changed.
TEST_F(DisplayCycle, AllocationRebuildsRecordsWithDefaults) {
    bool grown = false;
    picture.composition = [&](Picture& p) {
        compose_one_plot(p);
        if (grown) p.plot({1}, {1});
    };
    picture.display_cycle();
    internals(picture).layer_list[1].visible = 0;
    internals(picture).axes_list[3].view_azimuth = 90;
    picture.display_cycle();
    EXPECT_EQ(internals(picture).axes_list[3].visible,
              0); // configuration copies the layer's visibility

    grown = true;
    picture.display_cycle();
    EXPECT_EQ(internals(picture).layer_list[1].visible, 1);
    EXPECT_EQ(internals(picture).axes_list[3].visible, 1);
    EXPECT_EQ(internals(picture).axes_list[3].view_azimuth, 30);
    EXPECT_EQ(internals(picture).line_list.size(), 2u);
}

} // namespace
} // namespace rizodozad
