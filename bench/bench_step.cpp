// Cost of one solver step with the sweeps on a forced team of seven, serial, and as
// the application runs them; and the process CPU time of a whole paced run.
// The timing lines of step() go to /dev/null; the results are written to standard error.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "app/fdtd.h"
#include "bench/stderr_report.h"

namespace {

constexpr std::chrono::milliseconds idle_pause{1}; // as the idle callback sleeps
constexpr int full_run_steps = step_limit + 1;

enum Policy { forced_team, serial, chosen };

std::size_t threshold_of(Policy policy) {
    switch (policy) {
    case forced_team:
        return 0;
    case serial:
        return never_parallel;
    case chosen:
        break;
    }
    return default_parallel_threshold;
}

void prepare(FDTD& app, Policy policy, std::size_t cells = grid_cells) {
    app.init_fields(grid_cell_size);
    app.Ez.assign(cells, 0.0);
    app.Hz.assign(cells, 0.0);
    app.parallel_threshold = threshold_of(policy);
    app.running = 1;
}

double process_cpu_ms() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// Steps back to back: the team, once woken, stays warm.
void BM_StepBackToBack(benchmark::State& state) {
    FDTD app;
    prepare(app, static_cast<Policy>(state.range(0)));
    for (auto _ : state)
        app.step();
}

// Steps paced like the idle callback, timing the step alone: the team has to be woken
// again after every pause.
void BM_StepPaced(benchmark::State& state) {
    FDTD app;
    prepare(app, static_cast<Policy>(state.range(0)));
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        app.step();
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        std::this_thread::sleep_for(idle_pause);
    }
}

// A whole paced run; cpu_ms is the CPU time the process spent in it, pauses included,
// which shows threads spinning while the solver waits.
void BM_FullRun(benchmark::State& state) {
    double cpu_ms = 0;
    for (auto _ : state) {
        FDTD app;
        prepare(app, static_cast<Policy>(state.range(0)));
        const double before = process_cpu_ms();
        for (int k = 0; k < full_run_steps; ++k) {
            app.step();
            std::this_thread::sleep_for(idle_pause);
        }
        cpu_ms += process_cpu_ms() - before;
    }
    state.counters["cpu_ms"] = benchmark::Counter(cpu_ms, benchmark::Counter::kAvgIterations);
}

// Where a team of seven on this machine starts to pay: the sweeps alone on larger grids.
void BM_SweepsBySize(benchmark::State& state) {
    FDTD app;
    prepare(app, static_cast<Policy>(state.range(0)), static_cast<std::size_t>(state.range(1)));
    for (auto _ : state) {
        app.update_hz();
        app.update_ez();
        benchmark::DoNotOptimize(app.Ez.data());
    }
}

void policies(benchmark::internal::Benchmark* b) {
    b->ArgName("policy")->Arg(forced_team)->Arg(serial)->Arg(chosen);
}

BENCHMARK(BM_StepBackToBack)->Apply(policies);
BENCHMARK(BM_StepPaced)->Apply(policies)->UseManualTime()->Iterations(2000);
BENCHMARK(BM_FullRun)->Apply(policies)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SweepsBySize)
    ->ArgNames({"policy", "cells"})
    ->ArgsProduct({{forced_team, serial}, {1 << 12, 1 << 16, 1 << 18, 1 << 20}});

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    // step() reports every step on standard output; keep it out of the results.
    if (std::freopen("/dev/null", "w", stdout) == nullptr) return 1;
    return benchsupport::run_benchmarks_reporting_on_stderr();
}
