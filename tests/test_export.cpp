#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/events.h"
#include "app/fdtd.h"
#include "rizodozad/core/engine.h"
#include "rizodozad/core/export_eps.h"
#include "tests/support/app_fixture.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/quiet_steps.h"
#include "tests/support/scratch_directory.h"

namespace {

namespace fs = std::filesystem;

constexpr int steps_before_export = 120;

// An in-memory stream; the text is complete once the stream is closed.
class MemoryStream {
  public:
    MemoryStream() : stream_(open_memstream(&data_, &size_)) {}
    ~MemoryStream() {
        close();
        std::free(data_);
    }
    std::FILE* get() const { return stream_; }
    std::string text() {
        close();
        return std::string(data_, size_);
    }

  private:
    void close() {
        if (stream_ != nullptr) std::fclose(stream_);
        stream_ = nullptr;
    }
    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::FILE* stream_;
};

std::string file_text(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::size_t count_of(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

// The number of points of each polyline drawn in the given colour ("1 0 0 C").
std::vector<int> polylines_after_colour(const std::string& eps, const std::string& colour) {
    std::vector<int> points;
    std::istringstream lines(eps);
    std::string line;
    bool in_colour = false;
    int count = 0;
    while (std::getline(lines, line)) {
        if (line.size() > 2 && line.compare(line.size() - 2, 2, " C") == 0)
            in_colour = line == colour;
        if (!in_colour) continue;
        if (line.size() > 3 && line.compare(line.size() - 3, 3, " LS") == 0) count = 1;
        if (line.size() > 2 && line.compare(line.size() - 2, 2, " L") == 0) ++count;
        if (line.size() > 3 && line.compare(line.size() - 3, 3, " LE") == 0)
            points.push_back(count + 1);
    }
    return points;
}

// Drops the creation date, the only line that may differ between two exports of one picture.
std::string without_date(const std::string& eps) {
    const auto at = eps.find("%%CreationDate");
    if (at == std::string::npos) return eps;
    return eps.substr(0, at) + eps.substr(eps.find('\n', at));
}

class Export : public testsupport::AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        run_and_draw(steps_before_export);
    }

    std::string export_to_memory() {
        MemoryStream memory;
        EXPECT_TRUE(app.export_eps(memory.get(), "out.eps"));
        return memory.text();
    }
};

} // namespace

TEST_F(Export, ThePageHoldsTheThreePlots) {
    const std::string eps = export_to_memory();
    EXPECT_NE(eps.find("%%BoundingBox: 0 0 800 400"), std::string::npos);
    EXPECT_EQ(count_of(eps, "(Ez in space)"), 1u);
    EXPECT_EQ(count_of(eps, "(Hz in space)"), 1u);
    EXPECT_EQ(count_of(eps, "(Ez at point x[50])"), 1u);
    EXPECT_EQ(polylines_after_colour(eps, "1 0 0 C"), (std::vector<int>{grid_cells}));
    // Blue: Hz over the cells and the history, which keeps the line default colour.
    EXPECT_EQ(polylines_after_colour(eps, "0 0 1 C"),
              (std::vector<int>{grid_cells, steps_before_export}));
    EXPECT_EQ(count_of(eps, "(layer 1)"), 0u); // the pointer is away from the layer list
    EXPECT_EQ(internals(app).mode, rizodozad::display_mode::configuration);
}

TEST_F(Export, TheLayerListIsPrintedOnlyWhileThePointerIsAtTheLeftEdge) {
    app.pointer_x = 24;
    const std::string eps = export_to_memory();
    EXPECT_EQ(count_of(eps, "(layer 1)"), 1u);
    EXPECT_EQ(count_of(eps, "(layer 2)"), 1u);
    app.pointer_x = 25;
    EXPECT_EQ(count_of(export_to_memory(), "(layer 1)"), 0u);
}

// The last frame's viewport is that of the size before the resize; the page is the new one.
TEST_F(Export, AnExportRightAfterAResizeTakesTheNewWindowSize) {
    app.display_cycle();
    handle_reshape(app, 640, 300);
    const std::string eps = export_to_memory();
    EXPECT_NE(eps.find("%%BoundingBox: 0 0 640 300"), std::string::npos);
}

TEST_F(Export, PrintingTwiceOverwritesTheFileWithOneLineOfOutputEach) {
    testsupport::ScratchDirectory scratch("export");
    testing::internal::CaptureStdout();
    app.print_eps();
    const auto first_size = fs::file_size(scratch.path() / "out.eps");
    app.print_eps();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Writing 'out.eps'... Done!\nWriting 'out.eps'... Done!\n");
    const std::string eps = file_text(scratch.path() / "out.eps");
    EXPECT_EQ(eps.size(), first_size);
    EXPECT_EQ(count_of(eps, "%%BoundingBox"), 1u);
    EXPECT_EQ(count_of(eps, "(Ez in space)"), 1u);
    EXPECT_EQ(internals(app).mode, rizodozad::display_mode::configuration);
}

TEST_F(Export, AnUnopenableFileIsReportedAndNothingIsWritten) {
    testsupport::ScratchDirectory scratch("export");
    fs::create_directory(scratch.path() / "out.eps");
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    app.print_eps();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_NE(err.find("out.eps"), std::string::npos);
    EXPECT_NE(err.find(std::strerror(EISDIR)), std::string::npos) << err;
}

TEST_F(Export, AFullDiskIsReportedInsteadOfDone) {
    std::FILE* full = std::fopen("/dev/full", "wb");
    ASSERT_NE(full, nullptr);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(app.export_eps(full, "out.eps"));
    EXPECT_NE(testing::internal::GetCapturedStderr().find(std::strerror(ENOSPC)),
              std::string::npos);
    std::fclose(full);
}

TEST_F(Export, TheBufferGrowsUntilThePictureFitsWithinABound) {
    const std::string whole = export_to_memory();

    MemoryStream retried;
    const rizodozad::eps::BufferBudget small_steps{4096, 64};
    EXPECT_TRUE(rizodozad::eps::export_page(internals(app), retried.get(), "out.eps", small_steps));
    EXPECT_EQ(without_date(retried.text()), without_date(whole));

    MemoryStream never_enough;
    const rizodozad::eps::BufferBudget too_small{16, 3};
    testing::internal::CaptureStderr();
    EXPECT_FALSE(
        rizodozad::eps::export_page(internals(app), never_enough.get(), "out.eps", too_small));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("out.eps"), std::string::npos);
    EXPECT_EQ(never_enough.text(), "");
    EXPECT_EQ(internals(app).mode, rizodozad::display_mode::configuration);
}
