// The lab solver against fdtd1d, against the exact behaviour of its ends and sources, and
// against the grid's dispersion relation.
#include <gtest/gtest.h>
#include <omp.h>

#include <cmath>
#include <complex>
#include <limits>

#include "app/fdtd.h"
#include "lab/analysis/theory.h"
#include "lab/scenario/constants.h"
#include "lab/solver/field_grid.h"
#include "lab/solver/simulation.h"
#include "tests/support/quiet_steps.h"
#include "tests/test_lab_support.h"

namespace {

using lab::Boundary;
using labtest::largest;

void run_all(lab::Simulation& sim) {
    while (!sim.finished())
        sim.step();
}

TEST(LabSolver, ReproducesFdtd1d) {
    lab::Scenario s = labtest::vacuum_line(grid_cells, 1.0, step_limit + 1, Boundary::pec);
    s.grid.cell_size_m = grid_cell_size;
    s.boundary.right = Boundary::pmc;
    s.source = {lab::SourceType::hard, 0, lab::Waveform::gaussian, 30.0, 10.0};
    s.probes = {{"x50", probe_cell}};
    lab::Simulation sim(s);
    run_all(sim);

    FDTD app;
    app.init_fields(grid_cell_size);
    app.running = 1;
    testsupport::run_quietly(app, step_limit + 1);

    const std::vector<double>& lab_history = sim.probes()[0].ez_history;
    ASSERT_EQ(lab_history.size(), app.ez_history.size());
    for (std::size_t n = 0; n < lab_history.size(); ++n)
        ASSERT_NEAR(lab_history[n], app.ez_history[n], 1e-12) << "step " << n;
    // Upright from the pmc end, inverted from the hard source.
    for (int n : {80, 379})
        EXPECT_NEAR(lab_history[n], 1.0, 1e-12) << n;
    for (int n : {479, 778})
        EXPECT_NEAR(lab_history[n], -1.0, 1e-12) << n;
}

TEST(LabSolver, AbcEndsAtCourantOneLeaveNothing) {
    lab::Simulation sim(labtest::vacuum_line(300, 1.0, 400, Boundary::abc));
    run_all(sim);
    EXPECT_LE(largest(sim.ez(), 0, 299), 1e-12);
    EXPECT_LE(largest(sim.hy(), 0, 299) * lab::eta0, 1e-12);
}

// Largest |Ez| between the pml layers once the pulse has gone into them, over its peak.
double pml_reflection(int pml_cells) {
    const int inner = 200;
    lab::Scenario s = labtest::vacuum_line(inner + 2 * pml_cells, 0.5, 750, Boundary::pml);
    s.boundary.pml_cells = pml_cells;
    lab::Simulation sim(s);
    const std::size_t first = pml_cells, last = pml_cells + inner;
    double incident = 0.0, reflected = 0.0;
    // The pulse's tail leaves the source by step 110 and the interior 200 steps later.
    while (!sim.finished()) {
        sim.step();
        const double now = largest(sim.ez(), first, last);
        if (sim.step_count() < 350)
            incident = std::max(incident, now);
        else
            reflected = std::max(reflected, now);
    }
    return reflected / incident;
}

TEST(LabSolver, PmlAtHalfCourantReflectsBelowMinus60Db) {
    const double r10 = pml_reflection(10), r20 = pml_reflection(20), r40 = pml_reflection(40);
    RecordProperty("pml_10", std::to_string(r10));
    RecordProperty("pml_20", std::to_string(r20));
    RecordProperty("pml_40", std::to_string(r40));
    std::printf("pml reflection at S = 0.5: 10 cells %.2e, 20 cells %.2e, 40 cells %.2e\n", r10,
                r20, r40);
    EXPECT_LE(r20, 1e-3);
    EXPECT_LE(r40, r20);
}

TEST(LabSolver, EndsOfEachKindMirrorEachOther) {
    // A pulse from the middle cell of a line with the same end on both sides: what the
    // left end sends back must mirror what the right end does.
    for (Boundary end :
         {Boundary::pec, Boundary::pmc, Boundary::abc, Boundary::mur, Boundary::pml}) {
        lab::Scenario s = labtest::vacuum_line(201, 0.6, 800, end);
        s.probes = {{"left", 30}, {"right", 170}};
        lab::Simulation sim(s);
        run_all(sim);
        const std::vector<double>& left = sim.probes()[0].ez_history;
        const std::vector<double>& right = sim.probes()[1].ez_history;
        const double scale = largest(left, 0, left.size() - 1);
        for (std::size_t n = 0; n < left.size(); ++n)
            ASSERT_NEAR(left[n], right[n], 1e-12 * scale) << lab::name_of(end) << " step " << n;
    }
}

TEST(LabSolver, TfsfKeepsTheScatteredSideClean) {
    for (double courant : {1.0, 0.5}) {
        const int steps = static_cast<int>(350 / courant);
        lab::Scenario s = labtest::vacuum_line(300, courant, steps, Boundary::pml);
        s.source.type = lab::SourceType::tfsf;
        s.source.cell = 60;
        lab::Simulation sim(s);
        double scattered = 0.0, incident = 0.0;
        // Whatever the right pml reflects comes back to the boundary only after 440 / S steps.
        while (!sim.finished()) {
            sim.step();
            scattered = std::max(scattered, largest(sim.ez(), 0, 59));
            incident = std::max(incident, largest(sim.ez(), 150, 150));
        }
        EXPECT_NEAR(incident, 1.0, 0.05) << "S = " << courant;
        EXPECT_LE(scattered, 1e-10 * incident) << "S = " << courant;
    }
}

TEST(LabSolver, SineTravelsAtTheGridPhaseVelocity) {
    // S = 0.5, 10 cells per wavelength: 1.3 % slower than light, measured within 1e-3.
    const double f_hz = lab::c0 / (10.0 * labtest::cell_size_m);
    lab::Scenario s = labtest::vacuum_line(400, 0.5, 3000, Boundary::pml);
    s.source = {lab::SourceType::soft, 40, lab::Waveform::sine, 0.0, 10.0, f_hz, 3.0};
    const int distance_cells = 200;
    s.probes = {{"a", 100}, {"b", 100 + distance_cells}};
    s.spectrum = lab::SpectrumSettings{f_hz, f_hz, 1, "a", "b"};
    lab::Simulation sim(s);
    run_all(sim);

    const double expected = *lab::grid_phase_velocity(f_hz, labtest::cell_size_m, 0.5);
    const double omega = 2.0 * lab::pi * f_hz;
    const double distance_m = distance_cells * labtest::cell_size_m;
    const double wrapped =
        std::arg(sim.probes()[0].ez_spectrum[0] / sim.probes()[1].ez_spectrum[0]);
    const double turns = std::round((omega * distance_m / expected - wrapped) / (2.0 * lab::pi));
    const double measured = omega * distance_m / (wrapped + 2.0 * lab::pi * turns);
    EXPECT_NEAR(measured / expected, 1.0, 1e-3);
    EXPECT_LT(measured / lab::c0, 0.99);
}

lab::Scenario busy_scenario() {
    lab::Scenario s = labtest::vacuum_line(1000, 0.7, 60, Boundary::pml);
    s.boundary.left = Boundary::mur;
    s.source.type = lab::SourceType::tfsf;
    s.layers = {{520, 560, 4.0, 1.5, 0.2}};
    s.probes = {{"p", 400}};
    return s;
}

TEST(LabSolver, SweepsGiveTheSameBitsForAnyTeamSize) {
    lab::Simulation serial(busy_scenario());
    serial.set_parallel_threshold(std::numeric_limits<std::size_t>::max());
    run_all(serial);
    const int threads_before = omp_get_max_threads();
    for (int team : {1, 2, 3}) {
        omp_set_num_threads(team);
        lab::Simulation shared(busy_scenario());
        shared.set_parallel_threshold(0);
        run_all(shared);
        EXPECT_EQ(shared.ez(), serial.ez()) << team << " threads";
        EXPECT_EQ(shared.hy(), serial.hy()) << team << " threads";
    }
    omp_set_num_threads(threads_before);
}

TEST(LabSolver, ChangesRestartAndRefusalsChangeNothing) {
    lab::Scenario s = labtest::vacuum_line(200, 1.0, 300, Boundary::abc);
    s.probes = {{"p", 150}};
    lab::Simulation sim(s);
    // A pulse leaves through abc, comes back inverted from pec and upright from pmc.
    const auto echo = [&](Boundary right) {
        EXPECT_FALSE(
            sim.restart_with([&](lab::Scenario& c) { c.boundary.right = right; }).has_value());
        EXPECT_EQ(sim.step_count(), 0);
        run_all(sim);
        const std::vector<double>& h = sim.probes()[0].ez_history;
        return *std::max_element(h.begin() + 200, h.end(),
                                 [](double a, double b) { return std::fabs(a) < std::fabs(b); });
    };
    EXPECT_LT(std::fabs(echo(Boundary::abc)), 1e-12);
    EXPECT_LT(echo(Boundary::pec), -0.4);
    EXPECT_GT(echo(Boundary::pmc), 0.4);
    const std::optional<std::string> refused =
        sim.restart_with([](lab::Scenario& c) { c.source.cell = 250; });
    ASSERT_TRUE(refused.has_value());
    EXPECT_NE(refused->find("0..199"), std::string::npos) << *refused;
    EXPECT_EQ(sim.scenario().source.cell, 100);
    EXPECT_EQ(sim.step_count(), 300);
}

TEST(LabSolver, UnstableRunStopsBeforeOverflow) {
    lab::Scenario s = labtest::vacuum_line(200, 1.01, 100000, Boundary::pec);
    s.grid.allow_unstable = true;
    lab::Simulation sim(s);
    run_all(sim);
    ASSERT_TRUE(sim.blown_up());
    EXPECT_LT(sim.step_count(), 100000);
    EXPECT_NE(sim.blow_up_message().find("unstable"), std::string::npos);
    for (double e : sim.ez())
        ASSERT_TRUE(std::isfinite(e));
    EXPECT_GT(largest(sim.ez(), 0, 199) * 1e3, lab::blow_up_limit);
}

} // namespace

namespace {

//-----------------------------------------------------------------------------
// [SECTION] The step's hooks
//-----------------------------------------------------------------------------

// Writes which phase it saw, and whether the sweep before it had run, into a shared log.
class LoggingHook : public lab::StepHook {
  public:
    LoggingHook(char name, std::string& log) : name_(name), log_(log) {}
    void after_h(lab::FieldArrays& f, int n) override { note("H", n, f.hy[0] != 0.0); }
    void before_e(lab::FieldArrays& f, int n) override { note("B", n, f.ez[1] != 0.0); }
    void after_e(lab::FieldArrays& f, int n) override { note("E", n, f.ez[1] != 0.0); }

  private:
    void note(const char* phase, int n, bool swept) {
        log_ += std::string(1, name_) + phase + std::to_string(n) + (swept ? "+ " : "- ");
    }
    char name_;
    std::string& log_;
};

TEST(LabStepHooks, PhasesRunAroundTheSweepsInTheOrderTheHooksWereAdded) {
    lab::FieldGrid grid(lab::Discretisation(10, labtest::cell_size_m, 1.0));
    std::string log;
    grid.add_hook(std::make_unique<LoggingHook>('a', log));
    grid.add_hook(std::make_unique<LoggingHook>('b', log));
    grid.fields().ez[1] = 1.0; // Hy[0] takes it in the first H sweep
    grid.update_h(0);
    grid.fields().ez[1] = 0.0; // and gives it back in the E sweep
    grid.update_e(0);
    EXPECT_EQ(log, "aH0+ bH0+ aB0- bB0- aE0+ bE0+ ");
}

TEST(LabStepHooks, MurAtCourantOneInVacuumIsTheOneStepAbc) {
    // Its factor (S - 1) / (S + 1) is zero there: the same bits, not merely close.
    std::vector<std::vector<double>> ez;
    for (Boundary end : {Boundary::abc, Boundary::mur}) {
        lab::Simulation sim(labtest::vacuum_line(150, 1.0, 260, end));
        run_all(sim);
        ez.push_back(sim.ez());
    }
    EXPECT_EQ(ez[0], ez[1]);
}

TEST(LabStepHooks, ResetForgetsEverythingTheHooksRemember) {
    // Each end kind's memory (pml fields, Mur's last values) and the tfsf incident line:
    // a run after reset repeats the first one bit for bit.
    for (Boundary end : {Boundary::pmc, Boundary::mur, Boundary::pml}) {
        lab::Scenario s = labtest::vacuum_line(160, 0.7, 200, end);
        s.source.type = lab::SourceType::tfsf;
        s.probes = {{"p", 130}};
        lab::Simulation sim(s);
        run_all(sim);
        const std::vector<double> first = sim.probes()[0].ez_history;
        sim.reset();
        run_all(sim);
        EXPECT_GT(largest(first, 0, first.size() - 1), 0.5) << lab::name_of(end);
        EXPECT_EQ(sim.probes()[0].ez_history, first) << lab::name_of(end);
    }
}

} // namespace
