#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "app/events.h"
#include "rizodozad/core/engine.h"
#include "tests/support/app_fixture.h"

namespace {

constexpr unsigned char escape = 27;
constexpr int left_button = 0;
constexpr int press = 0;

constexpr int event_turns = 40;

int redraws = 0;

class Events : public testsupport::AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        app.max_steps = step_limit;
        glutDisplayFunc([] { ++redraws; });
        glutMainLoopEvent(); // nothing pending from an earlier test
        redraws = 0;
    }

    void TearDown() override {
        glutDisplayFunc([] {});
    }

    // Idle turns with the timing lines collected; returns them.
    std::string idle_turns(int turns) {
        testing::internal::CaptureStdout();
        for (int k = 0; k < turns; ++k)
            handle_idle(app);
        return testing::internal::GetCapturedStdout();
    }

    // Whether the window system was asked for a redraw since the last look. A request
    // is served only once the window is mapped, which a fresh window may not be yet.
    bool redraw_requested() {
        redraws = 0;
        for (int turn = 0; turn < event_turns && redraws == 0; ++turn) {
            glutMainLoopEvent();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return redraws > 0;
    }
};

std::array<GLint, 4> viewport() {
    std::array<GLint, 4> v{};
    glGetIntegerv(GL_VIEWPORT, v.data());
    return v;
}

std::size_t lines_in(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

} // namespace

TEST_F(Events, WhilePausedIdleTurnsStepNothingButStillRedraw) {
    EXPECT_EQ(idle_turns(3), "");
    EXPECT_EQ(app.step_count, 0);
    EXPECT_TRUE(redraw_requested());
}

TEST_F(Events, TheRunStopsByItselfAfterTheStepLimit) {
    app.running = 1;
    const std::string out = idle_turns(step_limit + 10);
    EXPECT_EQ(app.step_count, step_limit + 1);
    EXPECT_EQ(app.ez_history.size(), static_cast<std::size_t>(step_limit + 1));
    EXPECT_EQ(lines_in(out), static_cast<std::size_t>(step_limit + 1));

    EXPECT_TRUE(redraw_requested()); // the last step's request, served here
    handle_keyboard(app, ' ', 0, 0);
    handle_keyboard(app, ' ', 0, 0);
    EXPECT_EQ(idle_turns(3), "");
    EXPECT_EQ(app.step_count, step_limit + 1);
    EXPECT_FALSE(redraw_requested());
}

TEST_F(Events, WithoutALimitIdleTurnsKeepStepping) {
    app.max_steps = 0;
    app.step_count = 5000;
    app.running = 1;
    idle_turns(2);
    EXPECT_EQ(app.step_count, 5002);
}

TEST_F(Events, SpaceAndRToggleTheRun) {
    handle_keyboard(app, ' ', 0, 0);
    EXPECT_EQ(app.running, 1);
    idle_turns(1);
    handle_keyboard(app, ' ', 0, 0);
    EXPECT_EQ(app.running, 0);
    const auto ez = app.Ez;
    idle_turns(2);
    EXPECT_EQ(app.Ez, ez);
    EXPECT_EQ(app.step_count, 1);

    handle_keyboard(app, 'r', 0, 0);
    EXPECT_EQ(app.running, 1);
    handle_keyboard(app, 'r', 0, 0);
    handle_keyboard(app, 'a', 0, 0);
    handle_keyboard(app, 'P', 0, 0);
    EXPECT_EQ(app.running, 0);
}

TEST_F(Events, PrintingLeavesTheRunAsItWas) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("events-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    app.display_cycle();

    app.running = 1;
    testing::internal::CaptureStdout();
    handle_keyboard(app, 'p', 0, 0);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(app.running, 1);
    EXPECT_EQ(app.step_count, 0);
    EXPECT_EQ(out, "Writing 'out.eps'... Done!\n");
    EXPECT_GT(std::filesystem::file_size(dir / "out.eps"), 0u);

    app.running = 0;
    testing::internal::CaptureStdout();
    handle_keyboard(app, 'p', 0, 0);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(app.running, 0);

    std::filesystem::current_path(previous);
    std::filesystem::remove_all(dir);
}

TEST_F(Events, QuitKeysEndTheProcessWithStatusZero) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const unsigned char key : std::array<unsigned char, 3>{'q', 'x', escape})
        EXPECT_EXIT(handle_keyboard(app, key, 0, 0), testing::ExitedWithCode(0), "") << key;
}

TEST_F(Events, AReshapeBeforeTheFirstRedrawOnlyStoresTheSize) {
    glViewport(1, 2, 3, 4);
    handle_reshape(app, 640, 300);
    EXPECT_EQ(app.window_width, 640);
    EXPECT_EQ(app.window_height, 300);
    EXPECT_EQ(viewport(), (std::array<GLint, 4>{1, 2, 3, 4}));

    app.display_cycle(); // applies the stored size
    EXPECT_EQ(viewport(), (std::array<GLint, 4>{0, 0, 640, 300}));
    glViewport(1, 2, 3, 4);
    handle_reshape(app, 800, 400); // between cycles the mode rests at configuration
    EXPECT_EQ(viewport(), (std::array<GLint, 4>{1, 2, 3, 4}));

    internals(app).mode = rizodozad::display_mode::display;
    handle_reshape(app, 700, 350);
    EXPECT_EQ(viewport(), (std::array<GLint, 4>{0, 0, 700, 350}));
}

// Once the run has ended nothing else redraws: crossing the strip's edge must.
TEST_F(Events, CrossingTheLayerStripsEdgeAsksForARedraw) {
    app.step_count = step_limit + 1;
    handle_passive_motion(app, 300, 200);
    redraw_requested();
    EXPECT_FALSE(redraw_requested()) << "an idle window asks for nothing";
    handle_passive_motion(app, 200, 100);
    EXPECT_FALSE(redraw_requested()) << "a move that shows or hides nothing";
    handle_passive_motion(app, 5, 100);
    EXPECT_TRUE(redraw_requested()) << "the list must appear";
    handle_passive_motion(app, 10, 120);
    EXPECT_FALSE(redraw_requested());
    handle_passive_motion(app, 400, 120);
    EXPECT_TRUE(redraw_requested()) << "the list must go";
}

TEST_F(Events, PointerEventsReachTheEngine) {
    handle_passive_motion(app, 12, 34);
    EXPECT_EQ(app.pointer_x, 12);
    EXPECT_EQ(app.pointer_y, 34);

    app.display_cycle();
    internals(app).layer_last_click_time =
        -1000000; // long ago: this press is not half of a double press
    handle_mouse(app, left_button, press, 10, 30); // the "layer 1" row of the layer list
    EXPECT_EQ(internals(app).layer_list.at(1).visible, 0);
    // The redraw ran at once: the layer's axes have taken its visibility.
    EXPECT_EQ(internals(app).axes_list.at(3).visible, 0);
    EXPECT_EQ(internals(app).mode, rizodozad::display_mode::configuration);

    handle_mouse(app, left_button, press, 400, 350); // inside the history plot
    EXPECT_EQ(internals(app).selected_axes, 6);
    EXPECT_EQ(internals(app).axes_list.at(6).selected, 1);

    internals(app).axes_list.at(6).type = 1;
    internals(app).drag_start_azimuth = 30;
    handle_motion(app, 450, 350);
    EXPECT_EQ(internals(app).axes_list.at(6).view_azimuth, 340.0f);
}
