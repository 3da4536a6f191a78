// Cell updates per second of the lab solver from 1e3 to 1e7 cells, one step at a time and
// in blocks of steps, against the floor that memory bandwidth sets: a triad a = b + s c over
// arrays of the same size, with ordinary stores and with non-temporal ones, measured in the
// same run on one thread and on two.
// Bytes actually moved through main memory: a plain step runs two sweeps, each reading two
// arrays and writing back one of them (the coefficients are per span, in registers): 6
// doubles per cell-step. A block of T steps reads Ez and Hy once and writes both back: 4
// doubles per T cell-steps. A triad with ordinary stores reads the line it writes first (4
// doubles an element), with non-temporal stores it does not (3); the non-temporal triad is
// the honest floor, and the share of it a run reaches is what it leaves on the table.
// A dispersive case puts one Lorentz pole on every cell: its cost per cell-step against the
// plain update is the price of the polarisation hook.
// Prints tables of medians and ratios after the runs (5 repetitions unless told otherwise).
#include <benchmark/benchmark.h>

#include <emmintrin.h>
#include <omp.h>

#include <cstdio>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "lab/solver/field_grid.h"
#include "lab/solver/simulation.h"

namespace {

constexpr double plain_bytes_per_cell_step = 6 * sizeof(double);
constexpr int block_steps = lab::BlockingSettings{}.steps;
constexpr double blocked_bytes_per_cell_step = 4.0 * sizeof(double) / block_steps;
constexpr double triad_bytes_per_element = 4 * sizeof(double);    // the written line read too
constexpr double streamed_bytes_per_element = 3 * sizeof(double); // non-temporal stores
constexpr long doubles_per_line = 8;

// A soft source in the middle and two probes recording every step, as a run has them.
lab::Scenario vacuum(int cells) {
    lab::Scenario s;
    s.grid = {cells, 1e-3, 0.9, 1'000'000'000, false};
    s.source.cell = cells / 2;
    s.probes = {{"a", cells / 4}, {"b", 3 * (cells / 4)}};
    return s;
}

// One layer over the whole grid with one Lorentz pole, resolved by about 300 steps per
// period at S = 0.9.
lab::Scenario lorentz_everywhere(int cells) {
    lab::Scenario s = vacuum(cells);
    lab::Pole pole;
    pole.kind = lab::PoleKind::lorentz;
    pole.delta_eps = 1.0;
    pole.resonance_frequency_hz = 1e9;
    pole.damping_frequency_hz = 1e8;
    lab::Layer medium;
    medium.first = 0;
    medium.last = cells - 1;
    medium.eps_r = 2.0;
    medium.poles = {pole};
    s.layers = {medium};
    return s;
}

void BM_LabStep(benchmark::State& state) {
    lab::Simulation sim(vacuum(static_cast<int>(state.range(0))));
    sim.keep_history(false);
    for (auto _ : state) {
        sim.step();
        benchmark::DoNotOptimize(sim.ez().data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The same step with the sweeps kept on one thread, for the grids that use the team.
void BM_LabStepSerial(benchmark::State& state) {
    lab::Simulation sim(vacuum(static_cast<int>(state.range(0))));
    sim.keep_history(false);
    sim.set_parallel_threshold(std::numeric_limits<std::size_t>::max());
    for (auto _ : state) {
        sim.step();
        benchmark::DoNotOptimize(sim.ez().data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_LabStepLorentz(benchmark::State& state) {
    lab::Simulation sim(lorentz_everywhere(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        sim.step();
        benchmark::DoNotOptimize(sim.ez().data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Blocks of steps: the grid's own choice (team, and blocks from its threshold on), and on
// one thread with blocks at any size.
void BM_LabBlocked(benchmark::State& state) {
    lab::Simulation sim(vacuum(static_cast<int>(state.range(0))));
    sim.keep_history(false);
    if (state.range(1) == 1) {
        sim.set_parallel_threshold(std::numeric_limits<std::size_t>::max());
        sim.set_blocking({block_steps, lab::BlockingSettings{}.tile_cells, 0});
    }
    for (auto _ : state) {
        sim.advance(block_steps);
        benchmark::DoNotOptimize(sim.ez().data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * block_steps);
}

// One thread, blocks of range(1) steps in tiles of range(2) cells: the shape that pays best.
void BM_LabBlockShape(benchmark::State& state) {
    lab::Simulation sim(vacuum(static_cast<int>(state.range(0))));
    sim.keep_history(false);
    sim.set_parallel_threshold(std::numeric_limits<std::size_t>::max());
    const int steps = static_cast<int>(state.range(1));
    sim.set_blocking({steps, static_cast<long>(state.range(2)), 0});
    for (auto _ : state) {
        sim.advance(steps);
        benchmark::DoNotOptimize(sim.ez().data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * steps);
}

// a = b + s c on a team of range(1) threads, each on a contiguous share of whole lines.
template <bool streamed> void triad(double* a, const double* b, const double* c, long n, int team) {
    const __m128d s = _mm_set1_pd(0.5);
#pragma omp parallel num_threads(team) if (team > 1)
    {
        const long lines = n / doubles_per_line, me = omp_get_thread_num();
        const long first = lines * me / team * doubles_per_line;
        const long end = lines * (me + 1) / team * doubles_per_line;
        for (long i = first; i < end; i += 2) {
            const __m128d x = _mm_add_pd(_mm_load_pd(b + i), _mm_mul_pd(s, _mm_load_pd(c + i)));
            if (streamed)
                _mm_stream_pd(a + i, x);
            else
                _mm_store_pd(a + i, x);
        }
        _mm_sfence();
    }
}

template <bool streamed> void BM_Triad(benchmark::State& state) {
    const long n = static_cast<long>(state.range(0));
    std::vector<double> a(n, 0.0), b(n, 1.0), c(n, 2.0);
    for (auto _ : state) {
        triad<streamed>(a.data(), b.data(), c.data(), n, static_cast<int>(state.range(1)));
        benchmark::DoNotOptimize(a.data());
        benchmark::ClobberMemory();
    }
    const double bytes = streamed ? streamed_bytes_per_element : triad_bytes_per_element;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * n * bytes));
}

// Wall-clock time: from 1e6 cells on the work is shared among threads.
const std::vector<int64_t> sizes = {1000, 10'000, 100'000, 1'000'000, 10'000'000};
BENCHMARK(BM_LabStep)->ArgsProduct({sizes})->UseRealTime();
BENCHMARK(BM_LabStepSerial)->ArgsProduct({sizes})->UseRealTime();
BENCHMARK(BM_LabBlocked)->ArgsProduct({sizes, {1, 2}})->UseRealTime();
BENCHMARK_TEMPLATE(BM_Triad, false)->ArgsProduct({sizes, {1, 2}})->UseRealTime();
BENCHMARK_TEMPLATE(BM_Triad, true)->ArgsProduct({sizes, {1, 2}})->UseRealTime();
// Processor time: one thread, and the shape is what is compared.
BENCHMARK(BM_LabBlockShape)->ArgsProduct({{1'000'000}, {16, 32, 64}, {1024, 4096, 8192, 32768}});
BENCHMARK(BM_LabStepLorentz)->RangeMultiplier(10)->Range(1000, 1'000'000)->UseRealTime();

// Keeps the median of every benchmark and prints cell updates against the floor.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            // The median of the repetitions, or the single run when there is no repetition.
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            if (run.aggregate_name != "median" && !single) continue;
            // Keyed by name and team ("BM_Triad<true>/2"), then cells.
            const std::string& name = run.run_name.function_name;
            const std::string& args = run.run_name.args;
            const std::size_t team = args.find('/');
            const std::string key = team == std::string::npos ? name : name + args.substr(team);
            const bool triad = name.rfind("BM_Triad", 0) == 0;
            const auto rate = run.counters.find(triad ? "bytes_per_second" : "items_per_second");
            if (rate != run.counters.end()) rates_[key][std::stol(args)] = rate->second.value;
        }
    }

    void PrintTables() {
        std::printf("\ncell updates per second (team: the grid's own choice, two threads from "
                    "%zu cells)\n%10s %11s %11s %11s %11s %11s %6s\n",
                    lab::parallel_threshold_cells, "cells", "step team", "step 1", "block team",
                    "block 1", "lorentz", "cost");
        for (const auto& [cells, updates] : rates_["BM_LabStep"]) {
            std::printf("%10ld %11.4g %11.4g %11.4g %11.4g", cells, updates,
                        at("BM_LabStepSerial", cells), at("BM_LabBlocked/2", cells),
                        at("BM_LabBlocked/1", cells));
            // Time per cell-step with the pole over time per cell-step without.
            const double lorentz = at("BM_LabStepLorentz", cells);
            if (lorentz > 0) std::printf(" %11.4g %6.2f", lorentz, updates / lorentz);
            std::printf("\n");
        }
        std::printf("\nbytes per cell-step: %.0f a plain step, %.2f in blocks of %d; share of "
                    "the non-temporal triad\n%10s %9s %9s %9s %9s %9s %9s %9s %9s\n",
                    plain_bytes_per_cell_step, blocked_bytes_per_cell_step, block_steps, "cells",
                    "triad 1", "nt 1", "triad 2", "nt 2", "step 1", "step team", "block 1",
                    "block team");
        for (const auto& [cells, nt1] : rates_["BM_Triad<true>/1"]) {
            const double nt2 = at("BM_Triad<true>/2", cells);
            const bool team = static_cast<std::size_t>(cells) >= lab::parallel_threshold_cells;
            const double nt_team = team ? nt2 : nt1;
            std::printf("%10ld %8.3gG %8.3gG %8.3gG %8.3gG %9.2f %9.2f %9.3f %9.3f\n", cells,
                        at("BM_Triad<false>/1", cells) / 1e9, nt1 / 1e9,
                        at("BM_Triad<false>/2", cells) / 1e9, nt2 / 1e9,
                        at("BM_LabStepSerial", cells) * plain_bytes_per_cell_step / nt1,
                        at("BM_LabStep", cells) * plain_bytes_per_cell_step / nt_team,
                        at("BM_LabBlocked/1", cells) * blocked_bytes_per_cell_step / nt1,
                        at("BM_LabBlocked/2", cells) * blocked_bytes_per_cell_step / nt_team);
        }
    }

  private:
    double at(const std::string& key, long cells) {
        const std::map<long, double>& by_cells = rates_[key];
        const auto found = by_cells.find(cells);
        return found == by_cells.end() ? 0.0 : found->second;
    }

    std::map<std::string, std::map<long, double>> rates_; // by benchmark and team, then cells
};

} // namespace

int main(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc);
    char repetitions[] = "--benchmark_repetitions=5";
    args.insert(args.begin() + 1, repetitions); // a later option on the command line wins
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintTables();
    benchmark::Shutdown();
    return 0;
}
