// Runs solver steps with their timing lines kept out of the test output.
#pragma once

#include <gtest/gtest.h>

#include "app/fdtd.h"

namespace testsupport {

inline void run_quietly(FDTD& app, int steps) {
    testing::internal::CaptureStdout();
    for (int k = 0; k < steps; ++k)
        app.step();
    testing::internal::GetCapturedStdout();
}

} // namespace testsupport
