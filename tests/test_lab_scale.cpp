// How large the view draws text: the font's own size in ordinary windows, larger in tall
// ones, and --scale refused with a clear message unless it is a usable number.
#include <gtest/gtest.h>

#include <string>

#include "lab/view/window_scale.h"
#include "tests/support/process.h"

namespace {

TEST(LabViewScale, FollowsTheWindowsHeightInHalfSteps) {
    struct Case {
        int height_px;
        double scale;
    };
    // The default window (720), a laptop (900), a classroom's 1280x1000, full HD, 4K.
    const Case cases[] = {{200, 1}, {720, 1}, {900, 1}, {1000, 1.5}, {1080, 1.5}, {2160, 3}};
    for (const Case& c : cases)
        EXPECT_EQ(lab::view::scale_for_window_height(c.height_px), c.scale) << c.height_px;
    double previous = 1;
    for (int height = 1; height < 5000; ++height) {
        const double scale = lab::view::scale_for_window_height(height);
        EXPECT_GE(scale, previous) << height; // never smaller in a taller window
        previous = scale;
    }
}

// Refused before any window opens: no display is needed to be told.
TEST(LabViewScale, CommandLineRefusesScalesThatAreNotPositiveNumbers) {
    for (const char* command : {"view", "record --gif o.gif"})
        for (const char* bad : {"0", "abc", "-1", "inf", "nan", "2x", "11", "1e999"}) {
            const std::string arguments =
                std::string(command) + " " + LAB_SCENARIOS "/slab.toml --scale " + bad;
            const testsupport::ProcessResult run = testsupport::run_process(
                {"sh", "-c", "DISPLAY= " FDTD_LAB " " + arguments + " 2>&1"});
            EXPECT_EQ(run.exit_status, 2) << arguments << "\n" << run.output;
            EXPECT_NE(run.output.find("--scale takes a number above 0"), std::string::npos)
                << arguments << "\n"
                << run.output;
        }
}

} // namespace
