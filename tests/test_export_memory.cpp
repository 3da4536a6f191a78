// Repeated exports keep no memory: the live view writes the picture on every key press, so
// anything an export leaves behind (a GL2PS page, a feedback buffer, a texture, the glyph
// atlas made anew) adds up over a session. Resident memory after the first exports, once
// allocator and driver caches are warm, must stay level over a few hundred more.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "app/fdtd.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/quiet_steps.h"
#include "tests/support/resident_memory.h"
#include "tests/support/scratch_directory.h"

namespace {

constexpr int steps_before_export = 120;
constexpr int warm_up_exports = 100;
constexpr int measured_exports = 200;
constexpr double kib = 1024.0;
// A leak of the size seen before (38-90 KiB per export) grows by 7 MiB or more over the
// measured exports; allocator and driver caches settle within about 1 MiB.
constexpr double allowed_growth_kib = 2048;

double resident_kib() { return testsupport::resident_bytes() / kib; }

class ExportMemory : public testsupport::GlTest, public ::testing::WithParamInterface<const char*> {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        testsupport::size_like_window(app_);
        app_.init_fields(grid_cell_size);
        app_.running = 1;
        testsupport::run_quietly(app_, steps_before_export);
        app_.display_cycle();
    }

    bool export_times(int count) {
        const std::string name = (scratch_.path() / GetParam()).string();
        for (int k = 0; k < count; ++k)
            if (!app_.export_picture(name)) return false;
        return true;
    }

    FDTD app_;
    testsupport::ScratchDirectory scratch_{"export-memory"};
};

} // namespace

TEST_P(ExportMemory, ResidentMemoryStaysLevelOverRepeatedExports) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's quarantine of freed blocks makes resident memory meaningless";
#endif
    ASSERT_TRUE(export_times(warm_up_exports));
    const double before_kib = resident_kib();
    ASSERT_TRUE(export_times(measured_exports));
    const double growth_kib = resident_kib() - before_kib;
    std::printf("%s: %.0f KiB more after %d exports\n", GetParam(), growth_kib, measured_exports);
    EXPECT_LT(growth_kib, allowed_growth_kib);
}

INSTANTIATE_TEST_SUITE_P(EachFormat, ExportMemory,
                         ::testing::Values("out.eps", "out.pdf", "out.svg", "out.png"),
                         [](const auto& info) {
                             const std::string name = info.param;
                             return name.substr(name.find('.') + 1);
                         });
