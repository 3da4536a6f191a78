// Lines over data the program keeps (plot_kept) are stored reduced to the pixel columns of
// their axes. Drawn into the real window and exported through the real GL2PS, they must give
// exactly what the same data plotted whole gives, in either layout.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "rizodozad/core/engine.h"
#include "rizodozad/rizodozad.h"
#include "tests/support/gl_fixture.h"

namespace {

constexpr double pi = 3.141592653589793;
constexpr std::size_t history_points = 200'000;

// A recorded history: slow waves under a ripple whose phase wanders from point to point,
// a gap (NaN) and a stretch beyond the fixed x limits.
struct History {
    std::vector<double> t, y;
    History() {
        for (std::size_t i = 0; i < history_points; ++i) {
            const double s = static_cast<double>(i) / (history_points - 1);
            t.push_back(1.1 * s);
            y.push_back(0.5 + 0.3 * std::sin(2 * pi * 3 * s) + 0.1 * std::sin(i * 1.7));
        }
        y[history_points / 3] = std::numeric_limits<double>::quiet_NaN();
    }
};

class KeptOrWhole : public rizodozad::ZarIdor {
  public:
    KeptOrWhole(bool kept_data, bool tidy) : kept(kept_data) {
        tidy_layout = tidy;
        testsupport::size_like_window(*this);
    }
    void compose_figure() override {
        subplot(1, 1, 1);
        fix_limits({0.0, 1.0}, {0.0, 1.0});
        if (kept)
            plot_kept(history.t, history.y);
        else
            plot(history.t, history.y);
        legend({"probe"});
    }
    History history;
    bool kept;
};

std::string exported(rizodozad::ZarIdor& picture) {
    char* data = nullptr;
    std::size_t size = 0;
    std::FILE* stream = open_memstream(&data, &size);
    const bool written = picture.export_eps(stream, "kept.eps");
    std::fclose(stream);
    std::string eps = written ? std::string(data, size) : std::string();
    std::free(data);
    const auto date = eps.find("%%CreationDate");
    if (date != std::string::npos) eps.erase(date, eps.find('\n', date) - date);
    return eps;
}

class KeptLines : public testsupport::GlTest {};

TEST_F(KeptLines, DrawAndExportAsTheWholeDataDoes) {
    for (const bool tidy : {false, true}) {
        KeptOrWhole whole(false, tidy);
        KeptOrWhole kept(true, tidy);
        const rizodozad::Frame expected = whole.capture_picture();
        const rizodozad::Frame drawn = kept.capture_picture();
        ASSERT_FALSE(expected.rgb.empty());
        EXPECT_TRUE(drawn.rgb == expected.rgb) << (tidy ? "tidy" : "classic") << " layout";

        // The kept line holds a few points per column, not the whole history.
        const rizodozad::Line& stored = rizodozad::internals(kept).line_list.at(0);
        EXPECT_LT(stored.y_data.size(), history_points / 20);
        EXPECT_GT(stored.y_data.size(), static_cast<std::size_t>(kept.window_width));

        const std::string expected_eps = exported(whole);
        ASSERT_FALSE(expected_eps.empty());
        EXPECT_TRUE(exported(kept) == expected_eps) << (tidy ? "tidy" : "classic") << " layout";
    }
}

} // namespace
