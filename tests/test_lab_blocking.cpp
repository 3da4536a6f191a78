// Steps taken in blocks against plain steps, bit for bit: randomised lines (layers with and
// without poles, every end kind, every source kind, probes anywhere, teams of 1 to 3) and
// every shipped scenario; and the coefficient spans against the coefficients of each cell.
#include <gtest/gtest.h>
#include <omp.h>

#include <filesystem>
#include <limits>
#include <random>

#include "lab/scenario/cell_coefficients.h"
#include "lab/scenario/scenario_check.h"
#include "lab/scenario/scenario_reader.h"
#include "lab/solver/coefficient_spans.h"
#include "lab/solver/simulation.h"
#include "tests/test_lab_support.h"

namespace {

using Random = std::mt19937;

int uniform(Random& random, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
}
double uniform(Random& random, double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(random);
}

//-----------------------------------------------------------------------------
// [SECTION] Randomised lines
//-----------------------------------------------------------------------------

lab::Pole random_pole(Random& random) {
    lab::Pole pole;
    pole.kind = static_cast<lab::PoleKind>(uniform(random, 0, 2));
    pole.delta_eps = uniform(random, 0.2, 2.0);
    pole.relaxation_time_s = uniform(random, 1e-11, 1e-10);
    pole.plasma_frequency_hz = uniform(random, 1e9, 2e10);
    pole.collision_frequency_hz = uniform(random, 1e8, 1e9);
    pole.resonance_frequency_hz = uniform(random, 1e9, 2e10);
    pole.damping_frequency_hz = uniform(random, 1e8, 1e9);
    return pole;
}

// Layers apart from each other, from the ends and from the source's cell.
std::vector<lab::Layer> random_layers(Random& random, int keep_from, int keep_to) {
    std::vector<lab::Layer> layers;
    for (int first = uniform(random, keep_from, keep_from + 60); first + 10 < keep_to;) {
        lab::Layer l;
        l.first = first;
        l.last = std::min(keep_to, first + uniform(random, 1, 120));
        l.eps_r = uniform(random, 1.0, 6.0);
        l.mu_r = uniform(random, 1.0, 2.0);
        l.sigma_s_per_m = uniform(random, 0, 3) == 0 ? uniform(random, 0.0, 5.0) : 0.0;
        for (int k = uniform(random, -2, 2); k > 0; --k)
            l.poles.push_back(random_pole(random));
        layers.push_back(l);
        first = l.last + uniform(random, 1, 200);
    }
    return layers;
}

lab::Scenario drawn_line(Random& random) {
    const int cells = uniform(random, 300, 1500), pml = uniform(random, 5, 25);
    lab::Scenario s = labtest::vacuum_line(cells, uniform(random, 0.3, 1.0),
                                           uniform(random, 50, 400), lab::Boundary::pec);
    s.boundary = {static_cast<lab::Boundary>(uniform(random, 0, 4)),
                  static_cast<lab::Boundary>(uniform(random, 0, 4)), pml};
    s.source.type = static_cast<lab::SourceType>(uniform(random, 0, 2));
    s.source.cell = uniform(random, pml + 2, cells / 3);
    s.layers = random_layers(random, s.source.cell + 2, cells - pml - 3);
    for (int k = uniform(random, 1, 4); k > 0; --k)
        s.probes.push_back({"p" + std::to_string(k), uniform(random, pml + 1, cells - pml - 2)});
    return s;
}

// A line the checks accept (some draws of poles would blow up at the drawn Courant number).
lab::Scenario random_line(Random& random) {
    lab::Scenario s = drawn_line(random);
    while (lab::first_problem(s))
        s = drawn_line(random);
    return s;
}

// Blocks short enough that a line of a thousand cells holds several chunks and tiles.
lab::BlockingSettings random_blocking(Random& random) {
    return {uniform(random, 2, 12), static_cast<long>(uniform(random, 4, 90)), 0};
}

// Index of the first element in which two runs differ, bit for bit; -1 when none does.
template <class T> long first_difference(const std::vector<T>& a, const std::vector<T>& b) {
    if (a.size() != b.size()) return static_cast<long>(std::min(a.size(), b.size()));
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!(a[i] == b[i])) return static_cast<long>(i);
    return -1;
}

void expect_same_run(const lab::Simulation& blocked, const lab::Simulation& plain,
                     const std::string& what) {
    ASSERT_EQ(blocked.step_count(), plain.step_count()) << what;
    EXPECT_EQ(first_difference(blocked.ez(), plain.ez()), -1) << what;
    EXPECT_EQ(first_difference(blocked.hy(), plain.hy()), -1) << what;
    for (std::size_t p = 0; p < plain.probes().size(); ++p) {
        const lab::ProbeRecord &b = blocked.probes()[p], &a = plain.probes()[p];
        EXPECT_EQ(first_difference(b.ez_history, a.ez_history), -1) << what << " probe " << p;
        EXPECT_EQ(first_difference(b.hy_history, a.hy_history), -1) << what << " probe " << p;
        EXPECT_EQ(first_difference(b.ez_spectrum, a.ez_spectrum), -1) << what << " probe " << p;
    }
}

// The plain run one step at a time on one thread; the blocked one in uneven bites, with the
// probes' count checked after each step.
void compare_runs(const lab::Scenario& s, const lab::BlockingSettings& blocking, int team,
                  Random& random, const std::string& what) {
    lab::Simulation plain(s);
    plain.set_parallel_threshold(std::numeric_limits<std::size_t>::max());
    while (!plain.finished())
        plain.step();
    omp_set_num_threads(team);
    lab::Simulation blocked(s);
    blocked.set_parallel_threshold(0);
    blocked.set_blocking(blocking);
    while (!blocked.finished()) {
        const int bite = std::min(uniform(random, 1, 3 * blocking.steps),
                                  blocked.total_steps() - blocked.step_count());
        std::size_t seen = blocked.probes().empty() ? 0 : blocked.probes()[0].ez_history.size();
        blocked.advance(bite, [&] {
            if (!blocked.probes().empty()) {
                ASSERT_EQ(blocked.probes()[0].ez_history.size(), ++seen) << what;
            }
        });
    }
    expect_same_run(blocked, plain, what);
}

TEST(LabBlocking, RandomisedLinesGiveThePlainStepsBits) {
    const int threads_before = omp_get_max_threads();
    Random random(20261207);
    for (int run = 0; run < 60; ++run) {
        const lab::Scenario s = random_line(random);
        const lab::BlockingSettings blocking = random_blocking(random);
        const int team = 1 + run % 3;
        const std::string what = "run " + std::to_string(run) + ", " +
                                 lab::name_of(s.boundary.left) + "/" +
                                 lab::name_of(s.boundary.right) + ", " +
                                 lab::name_of(s.source.type) + ", team " + std::to_string(team);
        compare_runs(s, blocking, team, random, what);
    }
    omp_set_num_threads(threads_before);
}

TEST(LabBlocking, ShippedScenariosGiveThePlainStepsBits) {
    Random random(7);
    for (const auto& entry : std::filesystem::directory_iterator(LAB_SCENARIOS)) {
        lab::Scenario s = lab::load_scenario(entry.path().string());
        s.grid.steps = std::min(s.grid.steps, 1000); // long enough to cross every layer
        compare_runs(s, {8, 64, 0}, 2, random, entry.path().filename().string());
    }
}

//-----------------------------------------------------------------------------
// [SECTION] Coefficient spans
//-----------------------------------------------------------------------------

TEST(LabBlocking, CoefficientSpansAgreeWithEveryCell) {
    Random random(11);
    for (int run = 0; run < 40; ++run) {
        lab::Scenario s = random_line(random);
        if (run % 4 == 0) // overlapping layers: the later one holds the cell
            s.layers.push_back({uniform(random, 0, 100), uniform(random, 100, 400), 3.0, 1.7});
        const lab::Discretisation grid(s);
        const lab::CoefficientSpans spans(grid);
        ASSERT_EQ(spans.spans().front().first, 0);
        ASSERT_EQ(spans.spans().back().end, grid.cells);
        for (int i = 0; i < grid.cells; ++i) {
            const lab::Material here = grid.materials.at(i);
            const double mu_r =
                i + 1 < grid.cells ? 0.5 * (here.mu_r + grid.materials.at(i + 1).mu_r) : here.mu_r;
            const lab::CellCoefficients cell =
                lab::cell_coefficients(here, mu_r, grid.dt_s, grid.dx_m);
            const lab::CellCoefficients& span = spans.at(i);
            ASSERT_TRUE(span.ca == cell.ca && span.cb == cell.cb && span.db == cell.db)
                << "run " << run << " cell " << i;
        }
    }
}

} // namespace
