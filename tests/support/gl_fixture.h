// The fixture of GL tests: the shared window in a known state before each test.
#pragma once

#include <gtest/gtest.h>

#include "rizodozad/rizodozad.h"

namespace testsupport {

constexpr int window_width = 800;
constexpr int window_height = 400;
constexpr int skip_return_code = 77;

// Resets colour, widths, stipple, viewport, matrix and depth state: they carry over between tests.
void reset_gl_state();

// Gives an engine the size of the test window, as the reshape callback would.
void size_like_window(rizodozad::ZarIdor& engine);

class GlTest : public ::testing::Test {
  protected:
    void SetUp() override { reset_gl_state(); }
};

} // namespace testsupport
