// The export buffer is sized from the picture: the count must cover what one display
// cycle really hands to the feedback buffer GL2PS reads, for every kind of picture.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "gallery/pages.h"
#include "rizodozad/core/feedback_estimate.h"
#include "tests/support/gl_fixture.h"

namespace {

class Composed : public rizodozad::ZarIdor {
  public:
    explicit Composed(std::function<void(rizodozad::ZarIdor&)> compose)
        : compose_(std::move(compose)) {
        testsupport::size_like_window(*this);
    }
    void compose_figure() override { compose_(*this); }

  private:
    std::function<void(rizodozad::ZarIdor&)> compose_;
};

// Values one display cycle writes into a feedback buffer of GL2PS's kind (GL_3D_COLOR).
long floats_used(rizodozad::ZarIdor& engine) {
    engine.display_cycle(); // the records exist before the counted cycle
    constexpr int buffer_floats = 1 << 25;
    std::vector<GLfloat> buffer(buffer_floats);
    glFeedbackBuffer(buffer_floats, GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    engine.display_cycle();
    return glRenderMode(GL_RENDER);
}

void long_line_with_markers(rizodozad::ZarIdor& engine) {
    std::vector<double> y(20000);
    for (std::size_t i = 0; i < y.size(); ++i)
        y[i] = std::sin(static_cast<double>(i) * 1.7);
    engine.subplot(1, 1, 1);
    engine.plot_y(y);
    engine.plot_y(std::vector<double>(y.begin(), y.begin() + 300));
    engine.set("o");
}

void large_cell_plot(rizodozad::ZarIdor& engine) {
    rizodozad::Matrix z(300, std::vector<double>(300)); // more than the default buffer holds
    for (std::size_t i = 0; i < z.size(); ++i)
        for (std::size_t j = 0; j < z[i].size(); ++j)
            z[i][j] = std::sin(0.1 * static_cast<double>(i * j));
    engine.subplot(1, 1, 1);
    engine.surface(z);
}

class FeedbackEstimate : public testsupport::GlTest {};

TEST_F(FeedbackEstimate, CoversWhatADisplayCycleHandsOver) {
    std::vector<std::pair<std::string, std::function<void(rizodozad::ZarIdor&)>>> pictures{
        {"long line with markers", long_line_with_markers}, {"large cell plot", large_cell_plot}};
    for (int page = gallery::first_page; page < gallery::first_page + gallery::page_count; ++page)
        pictures.emplace_back(gallery::page_name(page),
                              [page](rizodozad::ZarIdor& e) { gallery::compose_page(e, page); });
    for (auto& [name, compose] : pictures) {
        Composed engine(compose);
        const long used = floats_used(engine);
        ASSERT_GT(used, 0) << name;
        EXPECT_GE(rizodozad::eps::feedback_floats_needed(internals(engine)),
                  static_cast<std::size_t>(used))
            << name;
    }
}

TEST_F(FeedbackEstimate, ALargePictureExportsInOneAttempt) {
    Composed engine(large_cell_plot);
    engine.display_cycle();
    char* data = nullptr;
    std::size_t size = 0;
    std::FILE* stream = open_memstream(&data, &size);
    testing::internal::CaptureStderr();
    EXPECT_TRUE(engine.export_eps(stream, "cells.eps"));
    const std::string messages = testing::internal::GetCapturedStderr();
    std::fclose(stream);
    std::free(data);
    EXPECT_EQ(messages.find("overflow"), std::string::npos) << messages;
}

} // namespace
