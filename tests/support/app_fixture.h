// Tests of fdtd1d (its picture, its composition, its window events): the application sized
// like the test window with its fields set up, and the way to run it for a number of steps.
#pragma once

#include "app/fdtd.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/quiet_steps.h"

namespace testsupport {

class AppTest : public GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        size_like_window(app);
        app.init_fields(grid_cell_size);
    }

    // Runs steps as a started run does, then draws the picture once.
    void run_and_draw(int steps) {
        app.running = 1;
        run_quietly(app, steps);
        app.display_cycle();
    }

    FDTD app;
};

} // namespace testsupport
