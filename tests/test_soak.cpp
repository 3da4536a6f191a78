// A run of the application's picture: one solver step (while below the step limit, as the
// idle handler does) and one display cycle per iteration. Resident memory is sampled along
// the way and must level off once the history is complete; every cycle must end. The times are
// printed, not judged: a busy machine must not fail the test, and the benchmarks measure speed.
//
// By default the run keeps the program's own limit: the history grows to 1001 points and
// the picture is then redrawn unchanged, so any memory a cycle keeps shows as growth.
// RIZODOZAD_SOAK_UNLIMITED=1 lifts the limit, so the history grows with every cycle and
// redraws get slower; that run only reports its memory curve, since the allocator's and
// the GL driver's buffers then grow with the line as well. RIZODOZAD_SOAK_CYCLES sets the
// number of cycles: by default 4,000 (1,500 in sanitizer builds, where ASan's quarantine
// of freed blocks makes resident memory meaningless, so memory is not judged there); the
// long soak that `scripts/test --long` runs sets 100,000.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/fdtd.h"
#include "rizodozad/core/engine.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/resident_memory.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool under_sanitizer = true;
constexpr long default_cycles = 1500;
#else
constexpr bool under_sanitizer = false;
constexpr long default_cycles = 4000;
#endif

constexpr int samples = 10;
constexpr double mib = 1024.0 * 1024.0;

// Allowance for allocator and GL driver caches settling once the picture stays the same;
// resident memory was seen to move by 1 MiB either way from one sample to the next.
constexpr double settling_mib = 2;

// A cycle that takes longer than this has hung: no busy machine comes near it.
constexpr double hung_cycle_ms = 10000;

double resident_mib() { return testsupport::resident_bytes() / mib; }

const char* env_text(const char* name) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? text : nullptr;
}

long cycles_wanted() {
    const char* text = env_text("RIZODOZAD_SOAK_CYCLES");
    if (text == nullptr) return default_cycles;
    return std::max(std::strtol(text, nullptr, 10), static_cast<long>(samples));
}

bool history_unlimited() {
    const char* text = env_text("RIZODOZAD_SOAK_UNLIMITED");
    return text != nullptr && std::string(text) != "0";
}

double median_of(std::vector<double> values) {
    if (values.empty()) return 0;
    const auto middle = values.begin() + static_cast<long>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

struct Sample {
    long cycles = 0;
    std::size_t history = 0;
    double resident = 0;  // MiB
    double median_ms = 0; // of the cycles since the previous sample
    double max_ms = 0;
};

// One row of the memory curve, printed as it is taken so that a long soak shows progress.
void print_sample(const Sample& s) {
    std::printf("  %6ld  %7zu  %12.1f  %9.3f  %6.2f\n", s.cycles, s.history, s.resident,
                s.median_ms, s.max_ms);
    std::fflush(stdout);
}

// One iteration of the running program: a step while below the limit, then a redraw.
double timed_cycle_ms(FDTD& app) {
    const auto start = std::chrono::steady_clock::now();
    if (app.max_steps == 0 || app.step_count <= app.max_steps) app.step();
    app.display_cycle();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    return took.count();
}

class Soak : public testsupport::GlTest {};

} // namespace

TEST_F(Soak, ResidentMemoryLevelsOffAndEveryCycleEnds) {
    FDTD app;
    testsupport::size_like_window(app);
    app.init_fields(grid_cell_size);
    const bool unlimited = history_unlimited();
    app.max_steps = unlimited ? 0 : step_limit;
    app.running = 1;

    const long per_sample = cycles_wanted() / samples;
    std::vector<Sample> curve{{0, 0, resident_mib(), 0, 0}};
    std::vector<double> all_ms;
    all_ms.reserve(static_cast<std::size_t>(per_sample * samples));
    std::printf("soak: %ld cycles, history %s%s\n", per_sample * samples,
                unlimited ? "unlimited" : "up to the step limit",
                under_sanitizer ? " (sanitizer build)" : "");
    std::printf("  cycles  history  resident MiB  median ms  max ms\n");
    print_sample(curve.back());

    for (int s = 0; s < samples; ++s) {
        std::vector<double> ms;
        ms.reserve(static_cast<std::size_t>(per_sample));
        testing::internal::CaptureStdout(); // one timing line per step
        for (long k = 0; k < per_sample; ++k)
            ms.push_back(timed_cycle_ms(app));
        testing::internal::GetCapturedStdout();
        all_ms.insert(all_ms.end(), ms.begin(), ms.end());
        curve.push_back({curve.back().cycles + per_sample, app.ez_history.size(), resident_mib(),
                         median_of(ms), *std::max_element(ms.begin(), ms.end())});
        print_sample(curve.back());
    }
    const double worst_ms = *std::max_element(all_ms.begin(), all_ms.end());
    const double median_ms = median_of(all_ms);
    std::printf("  every cycle: median %.3f ms, max %.2f ms\n", median_ms, worst_ms);

    EXPECT_EQ(app.ez_history.size(), static_cast<std::size_t>(app.step_count));
    EXPECT_EQ(internals(app).mode, rizodozad::display_mode::configuration);
    EXPECT_LT(worst_ms, hung_cycle_ms);

    if (under_sanitizer || unlimited) return;
    // From the first sample with the whole history on, every cycle draws the same picture.
    const auto settled = std::find_if(curve.begin(), curve.end(), [&](const Sample& sample) {
        return sample.history == curve.back().history;
    });
    const double growth_mib = curve.back().resident - settled->resident;
    EXPECT_LT(growth_mib, settling_mib) << "redrawing the same picture from cycle "
                                        << settled->cycles << " on took " << growth_mib << " MiB";
}
