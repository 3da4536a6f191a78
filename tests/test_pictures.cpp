// Picture regression: every gallery page and the fdtd1d picture after a fixed number of
// steps are exported to EPS, rendered by Ghostscript and compared with the baseline PNGs
// in tests/baselines. A failing comparison leaves <name>.new.png and <name>.diff.png
// beside the baseline. With RIZODOZAD_BASELINE_OUT set to a directory, the pictures are
// written there instead of compared (scripts/update-baselines).
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/fdtd.h"
#include "gallery/gallery.h"
#include "rizodozad/core/engine.h"
#include "tests/pictures.h"
#include "tests/support/gl_fixture.h"

namespace {

namespace fs = std::filesystem;

// Root-mean-square difference over all channels (0..255) a picture may show against its
// baseline: rendering noise stays far below it, while a missing tick label (about 3.3) or
// a missing one-pixel line across the window (about 12) exceed it.
constexpr double max_rms_difference = 1.5;
constexpr int fdtd_steps = 150;
constexpr const char* baseline_out_variable = "RIZODOZAD_BASELINE_OUT";
constexpr const char* baseline_dir = PICTURE_BASELINES;

// A directory of its own for the files of one test process.
fs::path scratch_dir() {
    const fs::path dir = fs::temp_directory_path() / ("pictures-" + std::to_string(getpid()));
    fs::create_directories(dir);
    return dir;
}

bool export_to(rizodozad::ZarIdor& engine, const fs::path& eps) {
    std::FILE* file = std::fopen(eps.c_str(), "wb");
    if (file == nullptr) return false;
    const bool exported = engine.export_eps(file, eps.c_str());
    return std::fclose(file) == 0 && exported;
}

// The EPS text without its creation date, which is all that may differ between two
// exports of the same picture.
std::string eps_of(rizodozad::ZarIdor& engine, const std::string& name) {
    const fs::path eps = scratch_dir() / (name + ".eps");
    if (!export_to(engine, eps)) return {};
    std::ifstream in(eps);
    std::ostringstream text;
    for (std::string line; std::getline(in, line);)
        if (line.rfind("%%CreationDate", 0) != 0) text << line << '\n';
    return text.str();
}

// Exports, renders and compares with tests/baselines/<name>.png (or stores the picture).
void expect_matches_baseline(rizodozad::ZarIdor& engine, const std::string& name) {
    const fs::path eps = scratch_dir() / (name + ".eps");
    const fs::path png = scratch_dir() / (name + ".png");
    ASSERT_TRUE(export_to(engine, eps)) << "the export of '" << name << "' failed";
    ASSERT_TRUE(testsupport::render_eps(eps, png)) << "Ghostscript could not render " << eps;

    if (const char* out = std::getenv(baseline_out_variable); out != nullptr && *out != '\0') {
        fs::copy_file(png, fs::path(out) / (name + ".png"), fs::copy_options::overwrite_existing);
        return;
    }

    const fs::path baseline = fs::path(baseline_dir) / (name + ".png");
    const fs::path kept = fs::path(baseline_dir) / (name + ".new.png");
    const fs::path diff = fs::path(baseline_dir) / (name + ".diff.png");
    fs::remove(kept);
    fs::remove(diff);

    const testsupport::Image expected = testsupport::read_png(baseline);
    const testsupport::Image picture = testsupport::read_png(png);
    ASSERT_FALSE(picture.empty()) << "cannot read the rendered picture " << png;
    const std::optional<double> rms = testsupport::rms_difference(expected, picture);
    if (!expected.empty() && rms && *rms <= max_rms_difference) return;

    fs::copy_file(png, kept, fs::copy_options::overwrite_existing);
    if (expected.empty()) {
        ADD_FAILURE() << "no baseline " << baseline << "; the new picture is " << kept
                      << " (scripts/update-baselines makes the baselines)";
        return;
    }
    testsupport::write_png(testsupport::difference_image(expected, picture), diff);
    if (!rms) {
        ADD_FAILURE() << "'" << name << "' is " << picture.width << "x" << picture.height
                      << ", its baseline " << expected.width << "x" << expected.height
                      << "; new picture: " << kept;
        return;
    }
    ADD_FAILURE() << "'" << name << "' differs from " << baseline << ": rms " << *rms << " > "
                  << max_rms_difference << "; new picture: " << kept
                  << ", differences in red: " << diff;
}

std::string picture_name(int page) {
    return "gallery-" + std::to_string(page) + "-" + gallery::page_name(page);
}

class Pictures : public testsupport::GlTest {
  protected:
    void TearDown() override { fs::remove_all(scratch_dir()); }
};

class GalleryPage : public Pictures, public ::testing::WithParamInterface<int> {};

} // namespace

TEST_P(GalleryPage, MatchesItsBaseline) {
    gallery::Gallery engine;
    testsupport::size_like_window(engine);
    engine.show_page(GetParam());
    expect_matches_baseline(engine, picture_name(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Gallery, GalleryPage,
                         ::testing::Range(gallery::first_page,
                                          gallery::first_page + gallery::page_count),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(gallery::page_name(info.param));
                         });

TEST_F(Pictures, FdtdAfterFixedStepsMatchesItsBaseline) {
    FDTD simulation;
    simulation.init_fields(grid_cell_size);
    simulation.running = 1;
    for (int i = 0; i < fdtd_steps; ++i)
        simulation.step();
    testsupport::size_like_window(simulation);
    expect_matches_baseline(simulation, "fdtd1d-" + std::to_string(fdtd_steps) + "-steps");
}

// A redraw matches the records the first drawing made and composes them again: a page
// that changed between passes, or set something only once and lost it, would differ.
TEST_F(Pictures, EveryPageDrawsTheSamePictureWhenRedrawn) {
    for (int page = gallery::first_page; page < gallery::first_page + gallery::page_count; ++page) {
        gallery::Gallery engine;
        testsupport::size_like_window(engine);
        engine.show_page(page);
        const std::string first = eps_of(engine, "first");
        ASSERT_FALSE(first.empty()) << "page " << page;
        EXPECT_EQ(eps_of(engine, "again"), first) << "page " << page;
    }
}

// After a change of page nothing of the previous page may remain: layer names, axes
// scales and the look of surfaces are set only when records are made.
TEST_F(Pictures, APageShownAfterAnotherLooksAsIfShownFirst) {
    for (int page = gallery::first_page; page < gallery::first_page + gallery::page_count; ++page) {
        gallery::Gallery fresh;
        testsupport::size_like_window(fresh);
        fresh.show_page(page);

        gallery::Gallery visited;
        testsupport::size_like_window(visited);
        visited.show_page(page % gallery::page_count + gallery::first_page);
        eps_of(visited, "previous");
        internals(visited).selected_axes = 0;
        visited.show_page(page);

        EXPECT_EQ(internals(visited).selected_axes, -1) << "page " << page;
        EXPECT_EQ(eps_of(visited, "visited"), eps_of(fresh, "fresh")) << "page " << page;
    }
}
