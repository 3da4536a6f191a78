// The live view's probe histories stay bounded however long the run: a run of several
// times the exact part keeps the exact values of its last steps and an overview of at
// most four points per bucket that still holds the run's ends and extremes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "lab/view/probe_histories.h"

namespace {

using lab::view::exact_history_steps;
using lab::view::overview_buckets;
using lab::view::ProbeHistories;

// Ez of probe p after step n: a chirp whose extremes fall at known steps.
double ez_at(std::size_t p, std::size_t n) {
    if (n == 1'234'567) return 50.0 + static_cast<double>(p);
    if (n == 2'345'678) return -60.0;
    return std::sin(1e-6 * static_cast<double>(n) * static_cast<double>(n % 977)) + 0.1 * p;
}

std::vector<lab::ProbeRecord> probes_after(std::size_t n) {
    std::vector<lab::ProbeRecord> probes(2);
    for (std::size_t p = 0; p < probes.size(); ++p) {
        probes[p].ez = ez_at(p, n);
        probes[p].hy = -ez_at(p, n);
    }
    return probes;
}

TEST(LabViewHistories, ALongRunKeepsItsLastStepsExactlyAndABoundedOverview) {
    const std::size_t steps = 3 * exact_history_steps + 12'345;
    ProbeHistories histories;
    for (std::size_t n = 0; n < steps; ++n)
        histories.record(probes_after(n), static_cast<int>(n));

    ASSERT_EQ(histories.steps(), steps);
    EXPECT_FALSE(histories.whole());
    ASSERT_EQ(histories.exact_steps(), exact_history_steps);
    EXPECT_EQ(histories.first_exact_step(), steps - exact_history_steps);
    for (std::size_t k : {std::size_t{0}, exact_history_steps / 2, exact_history_steps - 1}) {
        const std::size_t n = histories.first_exact_step() + k;
        EXPECT_EQ(histories.exact_ez(1, k), ez_at(1, n)) << "step " << n;
        EXPECT_EQ(histories.exact_hy(1, k), -ez_at(1, n)) << "step " << n;
    }
    EXPECT_LT(histories.ez(0).size(), 2 * exact_history_steps); // all the exact values kept
    EXPECT_EQ(histories.ez_peak(), 60.0);

    for (std::size_t p = 0; p < histories.probes(); ++p) {
        std::vector<double> at, ez;
        histories.overview(p).points(at, ez);
        EXPECT_LE(ez.size(), 4 * overview_buckets);
        EXPECT_TRUE(std::is_sorted(at.begin(), at.end()));
        EXPECT_EQ(at.front(), 0.0);
        EXPECT_EQ(at.back(), static_cast<double>(steps - 1));
        EXPECT_EQ(*std::max_element(ez.begin(), ez.end()), 50.0 + static_cast<double>(p));
        EXPECT_EQ(*std::min_element(ez.begin(), ez.end()), -60.0);
        for (std::size_t i = 0; i < at.size(); ++i)
            ASSERT_EQ(ez[i], ez_at(p, static_cast<std::size_t>(at[i]))) << "step " << at[i];
    }
}

TEST(LabViewHistories, AShortRunIsWholeAndARestartForgetsIt) {
    ProbeHistories histories;
    for (int n = 0; n < 1000; ++n)
        histories.record(probes_after(static_cast<std::size_t>(n)), n);
    EXPECT_TRUE(histories.whole());
    EXPECT_EQ(histories.ez(0).size(), 1000u);
    EXPECT_EQ(histories.first_exact_step(), 0u);

    histories.follow(1000, 2); // the run went on: nothing changes
    EXPECT_EQ(histories.steps(), 1000u);
    histories.follow(0, 2); // reset to step 0
    EXPECT_EQ(histories.steps(), 0u);
    EXPECT_EQ(histories.ez_peak(), 0.0);
    histories.record(probes_after(5), 5); // a step that does not follow is not kept
    EXPECT_EQ(histories.steps(), 0u);
}

} // namespace
