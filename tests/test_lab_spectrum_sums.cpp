// Each probe's running Fourier transform is the sum
//   sum over steps n of Ez(n + 1) exp(-i 2 pi f (n + 1) dt) dt;
// these tests add it up again from the kept history, one sine and one cosine per term, and
// compare.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <filesystem>
#include <string>
#include <vector>

#include "lab/scenario/constants.h"
#include "lab/scenario/scenario_reader.h"
#include "lab/solver/simulation.h"
#include "tests/test_lab_support.h"

namespace {

namespace fs = std::filesystem;

// Measured over the shipped scenarios, the running sums and the ones added up here differ by
// at most 1.0e-14 of the transform's size: rounding. A rotating kernel that is never
// recomputed from a sine and a cosine wanders 1.2e-13 away over their 6000 steps.
constexpr double sum_tolerance = 5e-14;

std::complex<double> direct_sum(const std::vector<double>& ez_v_per_m, double f_hz, double dt_s) {
    std::complex<double> sum = 0.0;
    for (std::size_t n = 0; n < ez_v_per_m.size(); ++n)
        sum += ez_v_per_m[n] * std::polar(dt_s, -2.0 * lab::pi * f_hz * double(n + 1) * dt_s);
    return sum;
}

// The largest |running - direct| over all probes and frequencies, relative to the largest
// |direct| of the same probe: a frequency where the pulse has next to nothing is measured
// against the scale of the sums that were added up, not against its own small value.
double largest_relative_difference(const lab::Simulation& run) {
    double worst = 0.0;
    for (const lab::ProbeRecord& p : run.probes()) {
        std::vector<std::complex<double>> direct;
        for (double f_hz : run.frequencies())
            direct.push_back(direct_sum(p.ez_history, f_hz, run.dt_s()));
        double scale = 0.0;
        for (const auto& d : direct)
            scale = std::max(scale, std::abs(d));
        for (std::size_t k = 0; k < direct.size(); ++k)
            worst = std::max(worst, std::abs(p.ez_spectrum[k] - direct[k]) / scale);
    }
    return worst;
}

double after_run(const lab::Scenario& scenario) {
    lab::Simulation run(scenario);
    run.keep_history(true);
    while (!run.finished())
        run.step();
    return largest_relative_difference(run);
}

TEST(SpectrumSums, RunningTransformsMatchTheDirectSumsOfEveryShippedScenario) {
    int with_spectrum = 0;
    for (const fs::directory_entry& file : fs::directory_iterator(LAB_SCENARIOS)) {
        if (file.path().extension() != ".toml") continue;
        const lab::Scenario scenario = lab::load_scenario(file.path().string());
        if (!scenario.spectrum) continue;
        EXPECT_LT(after_run(scenario), sum_tolerance) << file.path().filename();
        ++with_spectrum;
    }
    EXPECT_GE(with_spectrum, 9);
}

// 2000 frequencies up to 20 cells per wavelength in the slab over 6000 steps: the kernel of
// the highest turns 150 times, by 0.157 rad a step.
TEST(SpectrumSums, TwoThousandFrequenciesMatchTheDirectSums) {
    lab::Scenario slab = lab::load_scenario(std::string(LAB_SCENARIOS) + "/slab.toml");
    slab.spectrum->points = 2000;
    EXPECT_LT(after_run(slab), sum_tolerance);
}

// A pulse bouncing between two walls for 200,000 steps keeps every term of the sums alive
// while the kernel's phase runs up to 4e5 rad. Against sums taken in long double the running
// ones stay within 1.2e-11 of the largest, where a direct sum in double is off by 1.9e-10.
TEST(SpectrumSums, ALongRunStaysCloseToTheExactSums) {
    lab::Scenario cavity = labtest::vacuum_line(200, 1.0, 200000, lab::Boundary::pec);
    cavity.probes = {{"near", 30}, {"far", 170}};
    cavity.spectrum = lab::SpectrumSettings{1e9, 100e9, 16, "near", "far"};
    lab::Simulation run(cavity);
    run.keep_history(true);
    while (!run.finished())
        run.step();
    const long double two_pi = 6.283185307179586476925286766559L;
    for (const lab::ProbeRecord& p : run.probes()) {
        std::vector<std::complex<double>> exact;
        double scale = 0.0;
        for (double f_hz : run.frequencies()) {
            std::complex<long double> sum = 0.0L;
            for (std::size_t n = 0; n < p.ez_history.size(); ++n)
                sum += std::polar<long double>(p.ez_history[n] * run.dt_s(),
                                               -two_pi * f_hz * (n + 1) * run.dt_s());
            exact.emplace_back(double(sum.real()), double(sum.imag()));
            scale = std::max(scale, std::abs(exact.back()));
        }
        for (std::size_t k = 0; k < exact.size(); ++k)
            EXPECT_LT(std::abs(p.ez_spectrum[k] - exact[k]), 5e-11 * scale) << p.name << " " << k;
    }
}

// After a reset the sums start again from zero: 1000 steps after a reset at step 150 equal
// 1000 steps of a new run.
TEST(SpectrumSums, ARestartedRunSumsAsAFreshOne) {
    const lab::Scenario slab = lab::load_scenario(std::string(LAB_SCENARIOS) + "/slab.toml");
    lab::Simulation fresh(slab), restarted(slab);
    for (int n = 0; n < 150; ++n)
        restarted.step();
    restarted.reset();
    for (int n = 0; n < 1000; ++n) {
        fresh.step();
        restarted.step();
    }
    for (std::size_t p = 0; p < fresh.probes().size(); ++p)
        EXPECT_EQ(fresh.probes()[p].ez_spectrum, restarted.probes()[p].ez_spectrum);
}

} // namespace
