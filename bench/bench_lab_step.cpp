// Cell updates per second of the lab solver from 1e3 to 1e7 cells, against the floor that
// memory bandwidth sets: a triad a = b + s c over arrays of the same size, measured in the
// same run. One step streams 9 doubles per cell (Ez sweep: Ez read and written, Hy, ca, cb
// read; Hy sweep: Hy read and written, Ez, db read), the triad 3 per element, so the floor
// in cell updates per second is the triad's bytes per second over 72.
// A dispersive case puts one Lorentz pole on every cell: its cost per cell-step against the
// plain update is the price of the polarisation hook.
// Prints a table of medians and ratios after the runs (5 repetitions unless told otherwise).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "lab/solver/field_grid.h"
#include "lab/solver/simulation.h"

namespace {

constexpr double bytes_per_cell_update = 9 * sizeof(double);
constexpr double bytes_per_triad_element = 3 * sizeof(double);

lab::Scenario vacuum(int cells) {
    lab::Scenario s;
    s.grid = {cells, 1e-3, 0.9, 1'000'000'000, false};
    s.source.cell = cells / 2;
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
    for (auto _ : state) {
        sim.step();
        benchmark::DoNotOptimize(sim.ez().data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The same step with the sweeps kept on one thread, for the grids that use the team.
void BM_LabStepSerial(benchmark::State& state) {
    lab::Simulation sim(vacuum(static_cast<int>(state.range(0))));
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

// Shares the work among the team from the same size on as the solver's sweeps do.
void BM_Triad(benchmark::State& state) {
    const long n = static_cast<long>(state.range(0));
    std::vector<double> a(n, 0.0), b(n, 1.0), c(n, 2.0);
    double* pa = a.data();
    const double *pb = b.data(), *pc = c.data();
    const double s = 0.5;
    const bool shared = static_cast<std::size_t>(n) >= lab::parallel_threshold_cells;
    for (auto _ : state) {
        if (shared) {
#pragma omp parallel for schedule(static)
            for (long i = 0; i < n; ++i)
                pa[i] = pb[i] + s * pc[i];
        } else {
            for (long i = 0; i < n; ++i)
                pa[i] = pb[i] + s * pc[i];
        }
        benchmark::DoNotOptimize(pa);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * n * bytes_per_triad_element));
}

// Wall-clock time: from 1e6 cells on the work is shared among threads.
BENCHMARK(BM_LabStep)->RangeMultiplier(10)->Range(1000, 10'000'000)->UseRealTime();
BENCHMARK(BM_Triad)->RangeMultiplier(10)->Range(1000, 10'000'000)->UseRealTime();
BENCHMARK(BM_LabStepSerial)->Arg(1'000'000)->Arg(10'000'000)->UseRealTime();
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
            const std::string& name = run.run_name.function_name;
            const auto rate =
                run.counters.find(name == "BM_Triad" ? "bytes_per_second" : "items_per_second");
            if (rate != run.counters.end())
                rates_[name][std::stol(run.run_name.args)] = rate->second.value;
        }
    }

    void PrintTable() {
        std::printf("\n%10s %14s %14s %7s %14s %14s %7s\n", "cells", "updates/s", "floor/s",
                    "ratio", "serial/s", "lorentz/s", "cost");
        std::map<long, double>& serial = rates_["BM_LabStepSerial"];
        std::map<long, double>& lorentz = rates_["BM_LabStepLorentz"];
        std::map<long, double>& triad = rates_["BM_Triad"];
        for (const auto& [cells, updates] : rates_["BM_LabStep"]) {
            const double floor = triad[cells] / bytes_per_cell_update;
            std::printf("%10ld %14.4g %14.4g %7.2f", cells, updates, floor, updates / floor);
            if (serial.count(cells))
                std::printf(" %14.4g", serial[cells]);
            else
                std::printf(" %14s", "");
            // Time per cell-step with the pole over time per cell-step without.
            if (lorentz.count(cells))
                std::printf(" %14.4g %7.2f", lorentz[cells], updates / lorentz[cells]);
            std::printf("\n");
        }
    }

  private:
    std::map<std::string, std::map<long, double>> rates_; // by benchmark, then cells
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
    reporter.PrintTable();
    benchmark::Shutdown();
    return 0;
}
