// Runs the registered benchmarks with their report on standard error, for the benchmarks
// that drive fdtd1d's step: it prints a line per step on standard output, which they silence.
#pragma once

#include <benchmark/benchmark.h>
#include <iostream>

namespace benchsupport {

inline int run_benchmarks_reporting_on_stderr() {
    benchmark::ConsoleReporter reporter;
    reporter.SetOutputStream(&std::cerr);
    reporter.SetErrorStream(&std::cerr);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

} // namespace benchsupport
