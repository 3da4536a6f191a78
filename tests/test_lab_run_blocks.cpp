// fdtd-lab run on a line long enough that its steps go in blocks, against the same run taken
// one plain step at a time in this process: every table the same byte for byte, and the same
// warning about the energy still in the grid (which looks at the whole line every few steps).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "lab/analysis/csv_output.h"
#include "lab/analysis/experiment.h"
#include "lab/analysis/run_warnings.h"
#include "lab/scenario/scenario_edit.h"
#include "lab/scenario/scenario_reader.h"
#include "lab/solver/temporal_blocking.h"
#include "tests/support/process.h"
#include "tests/support/scratch_directory.h"

namespace {

namespace fs = std::filesystem;

std::string read_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The tables and warning of plain steps, written by the same writers the program uses.
std::string plain_run(const lab::Scenario& s, const fs::path& dir) {
    lab::Experiment e(s);
    e.keep_history(false);
    lab::EnergyWatch energy;
    std::FILE* probes = std::fopen((dir / "probes.csv").c_str(), "w");
    lab::write_probe_header(probes, e.run());
    while (!e.run().finished()) {
        e.step();
        energy.observe(e.run());
        lab::write_probe_row(probes, e.run());
    }
    std::fclose(probes);
    std::FILE* fields = std::fopen((dir / "fields.csv").c_str(), "w");
    lab::write_fields_csv(fields, e.run());
    std::fclose(fields);
    std::FILE* spectra = std::fopen((dir / "spectra.csv").c_str(), "w");
    lab::write_spectra_csv(spectra, e.spectra());
    std::fclose(spectra);
    return energy.warning(e.run()).value_or("");
}

TEST(LabRunBlocks, ALongRunWritesWhatPlainStepsGive) {
    const testsupport::ScratchDirectory scratch("lab_run_blocks");
    const std::string shipped = std::string(LAB_SCENARIOS) + "/lossy_slab.toml";
    // A line well past the blocking threshold, its pulse still in it at the end; a step
    // count that leaves a stretch shorter than the energy watch's.
    const int cells = 12 * static_cast<int>(lab::BlockingSettings{}.threshold_cells / 10);
    std::string text = read_file(shipped);
    text = lab::with_value(text, shipped, "grid.cells", std::to_string(cells));
    text = lab::with_value(text, shipped, "grid.steps", "1000");
    std::ofstream("long.toml") << text;

    fs::create_directory("plain");
    const std::string warning = plain_run(lab::load_scenario("long.toml"), "plain");
    ASSERT_FALSE(warning.empty()); // the energy watch's figures are compared too
    const testsupport::ProcessResult run = testsupport::run_process(
        {"sh", "-c", std::string(FDTD_LAB) + " run long.toml --out blocked 2>&1"});
    ASSERT_EQ(run.exit_status, 0) << run.output;
    for (const char* table : {"fields.csv", "probes.csv", "spectra.csv"})
        EXPECT_TRUE(read_file(fs::path("blocked") / table) == read_file(fs::path("plain") / table))
            << table;
    EXPECT_NE(run.output.find(warning), std::string::npos) << run.output;
}

} // namespace
