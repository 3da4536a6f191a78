// What the probes cost per step beside the sweeps: two probes and their running Fourier
// transforms over 200 .. 2000 frequencies, and, for the same sizes, the reference the
// transform must match: its kernel exp(-i 2 pi f t) dt taken by std::polar at every step.
// Also the CSV side of a long run: one probes.csv row per step.
#include <benchmark/benchmark.h>

#include <cmath>
#include <complex>
#include <cstdio>
#include <vector>

#include "lab/analysis/csv_output.h"
#include "lab/scenario/constants.h"
#include "lab/solver/probes.h"
#include "lab/solver/simulation.h"

namespace {

constexpr int cells = 1000;
constexpr double cell_size_m = 1e-4;
constexpr double courant = 1.0;

// A slab scenario with two probes and the given number of frequencies up to 75 GHz.
lab::Scenario two_probes(int frequencies) {
    lab::Scenario s;
    s.grid = {cells, cell_size_m, courant, 1'000'000'000, false};
    s.source.cell = 100;
    s.probes = {{"reflected", 200}, {"transmitted", 800}};
    s.spectrum = lab::SpectrumSettings{1e9, 75e9, frequencies, "reflected", "transmitted"};
    return s;
}

// A field that changes every step, so that nothing is hoisted out of the loop.
lab::FieldArrays moving_field() {
    lab::FieldArrays f;
    f.ez.assign(cells, 0.0);
    f.hy.assign(cells, 0.0);
    return f;
}

void BM_ProbesAfterE(benchmark::State& state) {
    const lab::Scenario s = two_probes(static_cast<int>(state.range(0)));
    const lab::Discretisation grid(s);
    lab::Probes probes(s, grid, false);
    lab::FieldArrays f = moving_field();
    int n = 0;
    for (auto _ : state) {
        f.ez[200] = f.ez[800] = std::sin(0.01 * n);
        probes.after_e(f, n++);
    }
    benchmark::DoNotOptimize(probes.records()[0].ez_spectrum.data());
}

// The transform with std::polar per frequency per step: the sum it stands for.
void BM_PolarPerStep(benchmark::State& state) {
    const lab::Scenario s = two_probes(static_cast<int>(state.range(0)));
    const std::vector<double> f_hz = lab::spectrum_frequencies(*s.spectrum);
    const double dt_s = lab::Discretisation(s).dt_s;
    std::vector<std::complex<double>> kernel(f_hz.size()), sum_a(f_hz.size()), sum_b(f_hz.size());
    int n = 0;
    for (auto _ : state) {
        const double ez = std::sin(0.01 * n), t_s = (n + 1) * dt_s;
        for (std::size_t k = 0; k < f_hz.size(); ++k)
            kernel[k] = std::polar(dt_s, -2.0 * lab::pi * f_hz[k] * t_s);
        for (std::size_t k = 0; k < f_hz.size(); ++k) {
            sum_a[k] += ez * kernel[k];
            sum_b[k] += ez * kernel[k];
        }
        ++n;
    }
    benchmark::DoNotOptimize(sum_a.data());
    benchmark::DoNotOptimize(sum_b.data());
}

// One probes.csv row of the two probes after a step, written to /dev/null.
void BM_ProbeRow(benchmark::State& state) {
    lab::Simulation sim(two_probes(2));
    sim.keep_history(false);
    for (int n = 0; n < 200; ++n)
        sim.step();
    std::FILE* out = std::fopen("/dev/null", "w");
    for (auto _ : state)
        benchmark::DoNotOptimize(lab::write_probe_row(out, sim));
    std::fclose(out);
}

} // namespace

BENCHMARK(BM_ProbesAfterE)->Arg(200)->Arg(2000);
BENCHMARK(BM_PolarPerStep)->Arg(200)->Arg(2000);
BENCHMARK(BM_ProbeRow);

BENCHMARK_MAIN();
