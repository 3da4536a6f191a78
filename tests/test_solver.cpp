#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "app/fdtd.h"
#include "tests/support/quiet_steps.h"

namespace {

constexpr double exp_minus_9 = 0.00012340980408667956;
constexpr int full_run_steps = step_limit + 1;

void start_on_fresh_grid(FDTD& app) {
    app.init_fields(grid_cell_size);
    app.running = 1;
}

// The leapfrog equations in plain serial loops, the reference the solver must match.
struct ReferenceGrid {
    std::vector<double> ez = std::vector<double>(grid_cells, 0.0);
    std::vector<double> hz = std::vector<double>(grid_cells, 0.0);

    void step(int n) {
        for (std::size_t i = 0; i + 1 < hz.size(); ++i)
            hz[i] = (ez[i + 1] - ez[i]) / physics::eta0 + hz[i];
        for (std::size_t i = 1; i < ez.size(); ++i)
            ez[i] = (hz[i] - hz[i - 1]) * physics::eta0 + ez[i];
        const double t = n;
        ez[0] = std::exp(-(t - 30.0) * (t - 30.0) / 100.0);
    }
};

} // namespace

TEST(PhysicalConstants, AreComputedFromTheVacuumValues) {
    EXPECT_DOUBLE_EQ(physics::c0, 299792458.0);
    EXPECT_DOUBLE_EQ(physics::eta0, 376.99111843077515);
    EXPECT_NE(physics::eta0, std::sqrt(physics::mu0 / physics::eps0));
}

TEST(InitFields, SizesTheGridAndTheTimeStep) {
    FDTD app;
    app.Ez.assign(250, 3.0);
    app.init_fields(grid_cell_size);
    ASSERT_EQ(app.Ez.size(), 200u);
    ASSERT_EQ(app.Hz.size(), 200u);
    EXPECT_EQ(app.Ez[0], 3.0); // leading values are kept
    EXPECT_EQ(app.Hz[199], 0.0);
    ASSERT_EQ(app.cell_x.size(), 200u);
    EXPECT_EQ(app.cell_x[0], 0.0);
    EXPECT_EQ(app.cell_x[199], 199.0);
    EXPECT_DOUBLE_EQ(app.dt, 3.3356409519815207e-12);
}

TEST(Step, WhilePausedChangesAndPrintsNothing) {
    FDTD app;
    app.init_fields(grid_cell_size);
    app.Ez[10] = 0.5;
    testing::internal::CaptureStdout();
    app.step();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(app.step_count, 0);
    EXPECT_EQ(app.sim_time, 0.0);
    EXPECT_TRUE(app.ez_history.empty());
    EXPECT_EQ(app.Ez[10], 0.5);
    EXPECT_EQ(app.Hz[9], 0.0);
}

TEST(Step, FirstStepDrivesTheSourceAndReportsItsTime) {
    FDTD app;
    start_on_fresh_grid(app);
    testing::internal::CaptureStdout();
    app.step();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(app.Ez[0], exp_minus_9);
    ASSERT_EQ(app.ez_history.size(), 1u);
    EXPECT_EQ(app.ez_history[0], 0.0);
    EXPECT_EQ(app.step_count, 1);
    EXPECT_DOUBLE_EQ(app.sim_time, app.dt);
    double micros = -1;
    ASSERT_EQ(std::sscanf(out.c_str(), "Time for 1 step %lf microsec\n", &micros), 1) << out;
    EXPECT_GE(micros, 0.0);
    EXPECT_EQ(out.back(), '\n');
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1);
}

// Standard output on a full device: every step still runs, and the loss is said once.
TEST(Step, TimingLinesThatCannotBeWrittenAreReportedOnce) {
    FDTD app;
    start_on_fresh_grid(app);
    std::fflush(stdout);
    const int saved_stdout = ::dup(STDOUT_FILENO);
    const int full = ::open("/dev/full", O_WRONLY);
    ASSERT_GE(full, 0);
    ::dup2(full, STDOUT_FILENO);
    testing::internal::CaptureStderr();
    for (int k = 0; k < 20; ++k)
        app.step();
    const std::string err = testing::internal::GetCapturedStderr();
    ::dup2(saved_stdout, STDOUT_FILENO);
    ::close(full);
    ::close(saved_stdout);
    EXPECT_EQ(app.step_count, 20);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find(std::strerror(ENOSPC)), std::string::npos) << err;
}

TEST(Step, SourcePeaksAtStepThirty) {
    FDTD app;
    start_on_fresh_grid(app);
    testsupport::run_quietly(app, 31);
    EXPECT_EQ(app.Ez[0], 1.0);
}

TEST(Step, ProbeSeesThePulsePassAndComeBackInverted) {
    FDTD app;
    start_on_fresh_grid(app);
    testsupport::run_quietly(app, full_run_steps);
    const auto& h = app.ez_history;
    ASSERT_EQ(h.size(), static_cast<std::size_t>(full_run_steps));
    for (int k = 0; k < 50; ++k)
        ASSERT_EQ(h[k], 0.0) << "k = " << k;
    EXPECT_EQ(h[50], exp_minus_9);
    const auto max_at = std::max_element(h.begin(), h.end()) - h.begin();
    const auto min_at = std::min_element(h.begin(), h.end()) - h.begin();
    EXPECT_EQ(max_at, 80);
    EXPECT_NEAR(h[80], 1.0, 1e-15);
    EXPECT_EQ(min_at, 479);
    EXPECT_NEAR(h[479], -1.0, 1e-15);
    EXPECT_EQ(app.Hz[199], 0.0); // the last Hz cell is never updated
    EXPECT_EQ(app.step_count, full_run_steps);
}

TEST(Step, SweepsOnATeamMatchASerialReferenceBitForBit) {
    FDTD team;
    start_on_fresh_grid(team);
    team.parallel_threshold = 0; // the team of seven for a grid of any size
    FDTD serial;
    start_on_fresh_grid(serial);
    serial.parallel_threshold = never_parallel;
    FDTD chosen;
    start_on_fresh_grid(chosen);
    ReferenceGrid reference;
    testing::internal::CaptureStdout();
    for (int n = 0; n < full_run_steps; ++n) {
        team.step();
        serial.step();
        chosen.step();
        reference.step(n);
    }
    testing::internal::GetCapturedStdout();
    // Bitwise equality: a reordered or fused (multiply by 1/eta0) update would differ.
    EXPECT_EQ(team.Ez, reference.ez);
    EXPECT_EQ(team.Hz, reference.hz);
    EXPECT_EQ(serial.Ez, reference.ez);
    EXPECT_EQ(serial.Hz, reference.hz);
    EXPECT_EQ(chosen.Ez, reference.ez);
    EXPECT_EQ(chosen.Hz, reference.hz);
}

TEST(Step, ShortOrMissingGridsAreSweptWithoutReadingPastTheEnd) {
    FDTD app;
    app.running = 1;
    testsupport::run_quietly(app, 2); // never sized: only the count advances
    EXPECT_TRUE(app.Ez.empty());
    EXPECT_TRUE(app.ez_history.empty());
    EXPECT_EQ(app.step_count, 2);

    FDTD uneven;
    uneven.running = 1;
    uneven.Ez.assign(3, 0.0);
    uneven.Hz.assign(1, 0.0);
    testsupport::run_quietly(uneven, 1);
    EXPECT_EQ(uneven.Ez[0], exp_minus_9);
    EXPECT_EQ(uneven.Hz.size(), 1u);
}
