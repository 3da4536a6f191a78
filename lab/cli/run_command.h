// `fdtd-lab run`: a scenario from start to end without a display, written as CSV tables.
#pragma once

#include <string>

#include "lab/cli/exit_status.h"

namespace lab {

struct BatchOptions {
    std::string scenario_path;
    std::string out_dir;
};

// Runs the scenario and writes fields.csv, probes.csv and (with a [spectrum] section)
// spectra.csv into the output folder, each whole or not at all. A summary line per file
// goes to standard output, messages to standard error, and a progress line to standard
// error while it runs when that is a terminal.
int run_batch(const BatchOptions& options);

} // namespace lab
