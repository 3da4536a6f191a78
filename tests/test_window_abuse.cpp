// The window system's callbacks under abuse: events before the first redraw, presses and
// drags far outside the window, degenerate and huge sizes, every key byte, and a random
// storm of all of them. The run must keep its step count: only idle turns while running
// advance it.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <climits>
#include <cmath>
#include <cstddef>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "app/events.h"
#include "rizodozad/core/engine.h"
#include "tests/support/app_fixture.h"
#include "tests/support/feedback.h"
#include "tests/support/scratch_directory.h"

namespace {

namespace fs = std::filesystem;

constexpr unsigned char escape = 27;
constexpr int pressed = 0;
constexpr int released = 1;
constexpr int three_dimensional = 1;
constexpr int storm_events = 3000;
constexpr unsigned storm_seed = 77u;

// Window coordinates from well inside to the ends of the integer range.
const std::vector<int> far_coordinates{INT_MIN, -1000000, -1,  0,   1,       199,
                                       399,     400,      799, 800, 1000000, INT_MAX};

class WindowAbuse : public testsupport::AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        app.max_steps = step_limit;
    }

    // Idle turns with the timing lines kept out of the log.
    void idle_turns(int turns) {
        testing::internal::CaptureStdout();
        for (int k = 0; k < turns; ++k)
            handle_idle(app);
        testing::internal::GetCapturedStdout();
    }

    // The solver's state as far as input must leave it alone.
    void expect_run_unchanged(int steps, const std::vector<double>& ez) {
        EXPECT_EQ(app.step_count, steps);
        EXPECT_EQ(app.ez_history.size(), static_cast<std::size_t>(steps));
        EXPECT_EQ(app.Ez, ez);
    }

    void press_everywhere() {
        for (int x : far_coordinates)
            for (int y : far_coordinates)
                for (int button = 0; button < 3; ++button)
                    for (int state : {pressed, released}) {
                        handle_passive_motion(app, x, y);
                        handle_mouse(app, button, state, x, y);
                        handle_motion(app, y, x);
                    }
    }
};

std::size_t line_segments_drawn(FDTD& app) {
    return testsupport::capture_feedback([&] { handle_display(app); })
        .count(testsupport::PrimitiveKind::line);
}

} // namespace

TEST_F(WindowAbuse, PointerEventsBeforeTheFirstRedrawOnlyStartTheCycle) {
    handle_motion(app, INT_MAX, INT_MIN); // nothing exists yet to turn
    handle_passive_motion(app, -5, INT_MAX);
    EXPECT_TRUE(internals(app).axes_list.empty());
    handle_mouse(app, GLUT_LEFT_BUTTON, pressed, INT_MIN, INT_MIN);
    EXPECT_EQ(internals(app).mode, rizodozad::display_mode::configuration);
    EXPECT_EQ(internals(app).axes_list.size(), 7u);
    EXPECT_EQ(internals(app).selected_axes, -1);
    EXPECT_EQ(app.step_count, 0);
}

TEST_F(WindowAbuse, PressesAndDragsFarOutsideTheWindowLeaveTheRunAlone) {
    app.running = 1;
    idle_turns(90);
    app.running = 0;
    const std::vector<double> ez = app.Ez;
    handle_display(app);
    const std::size_t segments = line_segments_drawn(app);

    // The axes under the middle of the window made three-dimensional, so that drags turn it.
    handle_mouse(app, GLUT_LEFT_BUTTON, pressed, 400, 200);
    const int selected = internals(app).selected_axes;
    ASSERT_GE(selected, 1);
    internals(app).axes_list.at(static_cast<std::size_t>(selected)).type = three_dimensional;
    handle_mouse(app, GLUT_LEFT_BUTTON, pressed, 400, 200);
    handle_motion(app, 500, 250);
    EXPECT_NE(internals(app).axes_list.at(static_cast<std::size_t>(selected)).view_azimuth, 30.0f);
    press_everywhere();
    for (const rizodozad::Axes& axes : internals(app).axes_list) {
        EXPECT_TRUE(std::isfinite(axes.view_azimuth));
        EXPECT_GE(axes.view_elevation, -90.0f);
        EXPECT_LE(axes.view_elevation, 90.0f);
        EXPECT_TRUE(std::isfinite(axes.mouse_x) && std::isfinite(axes.mouse_y));
    }
    expect_run_unchanged(90, ez);

    // Presses toggle layers only within the list's strip; put both back and compare.
    for (rizodozad::Layer& layer : internals(app).layer_list)
        layer.visible = 1;
    internals(app).axes_list.at(static_cast<std::size_t>(selected)).type = 0;
    handle_passive_motion(app, 400, 200);
    handle_display(app);
    EXPECT_EQ(line_segments_drawn(app), segments);
}

TEST_F(WindowAbuse, DegenerateAndHugeWindowsDrawAndExport) {
    testsupport::ScratchDirectory scratch("window-abuse");
    app.running = 1;
    idle_turns(40);
    const std::vector<double> ez = app.Ez;
    app.running = 0;

    const std::vector<std::array<int, 2>> sizes{
        {0, 0}, {1, 1}, {0, 400}, {800, 0}, {100000, 100000}, {INT_MAX, INT_MAX}, {3, 5000}};
    for (const auto& size : sizes) {
        handle_reshape(app, size[0], size[1]);
        handle_display(app);
        EXPECT_EQ(internals(app).mode, rizodozad::display_mode::configuration)
            << size[0] << "x" << size[1];
        handle_mouse(app, GLUT_LEFT_BUTTON, pressed, size[0] / 2, size[1] / 2);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        handle_keyboard(app, 'p', 0, 0);
        const std::string out = testing::internal::GetCapturedStdout();
        const std::string err = testing::internal::GetCapturedStderr();
        // Either a page was written or the failure was said so: never both, never neither.
        const bool done = out.find("Done!") != std::string::npos;
        EXPECT_NE(done, err.find("Cannot") != std::string::npos)
            << size[0] << "x" << size[1] << ": " << out << err;
    }
    expect_run_unchanged(40, ez);

    handle_reshape(app, testsupport::window_width, testsupport::window_height);
    glViewport(0, 0, testsupport::window_width, testsupport::window_height);
    EXPECT_GT(line_segments_drawn(app), static_cast<std::size_t>(2 * grid_cells));
}

// Every byte but the three exit keys; only space and 'r' change anything, and 'p' exports.
TEST_F(WindowAbuse, EveryOtherKeyLeavesTheRunAsItWas) {
    testsupport::ScratchDirectory scratch("window-abuse");
    handle_display(app);
    int expected_steps = 0;
    testing::internal::CaptureStdout();
    for (int byte = 0; byte < 256; ++byte) {
        const auto key = static_cast<unsigned char>(byte);
        if (key == 'q' || key == 'x' || key == escape) continue;
        const int running_before = app.running;
        handle_keyboard(app, key, far_coordinates[byte % far_coordinates.size()], -byte);
        const bool toggles = key == ' ' || key == 'r';
        EXPECT_EQ(app.running, toggles ? 1 - running_before : running_before) << byte;
        if (app.running) ++expected_steps;
        handle_idle(app);
    }
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(app.step_count, expected_steps);
    EXPECT_EQ(app.ez_history.size(), static_cast<std::size_t>(expected_steps));
    EXPECT_NE(out.find("Writing 'out.eps'... Done!\n"), std::string::npos);
    EXPECT_GT(fs::file_size(scratch.path() / "out.eps"), 0u);
}

TEST_F(WindowAbuse, ExitKeysStillEndTheProcessAfterAbuse) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    handle_reshape(app, 0, 0);
    handle_mouse(app, GLUT_LEFT_BUTTON, pressed, INT_MIN, INT_MAX);
    app.running = 1;
    for (const unsigned char key : std::array<unsigned char, 3>{'q', 'x', escape})
        EXPECT_EXIT(handle_keyboard(app, key, INT_MIN, INT_MAX), testing::ExitedWithCode(0), "")
            << key;
}

// A random mix of every callback; the step count follows the idle turns taken while running.
TEST_F(WindowAbuse, ARandomStormOfEventsKeepsTheStepCount) {
    testsupport::ScratchDirectory scratch("window-abuse");
    std::mt19937 rng(storm_seed);
    const auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    const auto coordinate = [&] {
        return below(4) == 0 ? far_coordinates[static_cast<std::size_t>(
                                   below(static_cast<int>(far_coordinates.size())))]
                             : below(800);
    };
    const std::string keys = " rpab01\t\r\n\x7f\xff";

    int expected_steps = 0;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    for (int event = 0; event < storm_events; ++event) {
        switch (below(8)) {
        case 0:
            if (app.running && app.step_count <= app.max_steps) ++expected_steps;
            handle_idle(app);
            break;
        case 1:
            handle_display(app);
            break;
        case 2:
            handle_reshape(app, below(3) == 0 ? coordinate() : 800, coordinate());
            break;
        case 3:
            handle_mouse(app, below(3), below(2), coordinate(), coordinate());
            break;
        case 4:
            handle_motion(app, coordinate(), coordinate());
            break;
        case 5:
            handle_passive_motion(app, below(40), coordinate());
            break;
        case 6: // an axes turns three-dimensional or back, so that drags may turn it
            if (!internals(app).axes_list.empty())
                internals(app)
                    .axes_list[static_cast<std::size_t>(
                        below(static_cast<int>(internals(app).axes_list.size())))]
                    .type = below(2);
            break;
        default:
            handle_keyboard(
                app,
                static_cast<unsigned char>(
                    keys[static_cast<std::size_t>(below(static_cast<int>(keys.size())))]),
                coordinate(), coordinate());
            break;
        }
    }
    testing::internal::GetCapturedStderr();
    testing::internal::GetCapturedStdout();
    EXPECT_GT(expected_steps, 0);
    EXPECT_EQ(app.step_count, expected_steps);
    EXPECT_EQ(app.ez_history.size(), static_cast<std::size_t>(expected_steps));
    EXPECT_EQ(app.Ez.size(), static_cast<std::size_t>(grid_cells));
    EXPECT_EQ(app.Hz.back(), 0.0);
}
