// `fdtd-lab sweep`: a scenario run at every combination of a few changed values, its spectra
// gathered into one table (sweep.csv). A point can also run alone (--index, one task of a
// batch system's job array) and the parts be joined afterwards (--merge).
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "lab/analysis/experiment.h"
#include "lab/cli/exit_status.h"

namespace lab {

// Some points of the sweep could not be run; the table holds the others.
constexpr int exit_points_failed = 4;

// SweepOptions::index when the whole product runs.
constexpr long long every_point = -1;

struct SweepOptions {
    std::string scenario_path;
    std::vector<std::string> settings; // "KEY=V1,V2,...", KEY a path such as layer[0].eps_r
    std::string out_dir;
    int jobs = 1;
    long long index = every_point; // or run this point of the product alone
    std::string merge_dir;         // join the parts in this folder instead of running
};

// One swept key and the TOML literals it takes.
struct SweptKey {
    std::string key;
    std::vector<std::string> literals;
};

// The keys and values of one point: point k of the product, the last key changing fastest.
using PointSettings = std::vector<std::pair<std::string, std::string>>;
long long point_count(const std::vector<SweptKey>& keys);
PointSettings point_settings(const std::vector<SweptKey>& keys, long long k);

// A point's spectra, or why it has none (a scenario the checks refuse, a blow-up).
struct PointResult {
    std::optional<Spectra> spectra;
    std::string problem;
};

// The scenario text with the point's values set, run to its end with its normalisation run.
PointResult run_sweep_point(const std::string& toml_text, const std::string& path,
                            const PointSettings& settings);

int run_sweep(const SweepOptions& options);
int merge_sweep(const std::string& dir);
// merge_sweep with --merge, else run_sweep once the scenario and --out are given.
int sweep_from_command_line(const SweepOptions& options);

} // namespace lab
