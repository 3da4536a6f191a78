// `fdtd-lab run`: a scenario from start to end without a display, written as CSV tables.
#pragma once

#include <string>

namespace lab {

struct BatchOptions {
    std::string scenario_path;
    std::string out_dir;
};

// Exit statuses of fdtd-lab.
constexpr int exit_ok = 0;
constexpr int exit_failed = 1;        // output could not be written
constexpr int exit_bad_input = 2;     // bad scenario, option or output folder: nothing written
constexpr int exit_unstable = 3;      // the run blew up and stopped; fields and probes up to there
constexpr int exit_signal_base = 128; // 128 + the signal that stopped the run: nothing written

// Runs the scenario and writes fields.csv, probes.csv and (with a [spectrum] section)
// spectra.csv into the output folder, each whole or not at all. A summary line per file
// goes to standard output, messages to standard error, and a progress line to standard
// error while it runs when that is a terminal.
int run_batch(const BatchOptions& options);

} // namespace lab
