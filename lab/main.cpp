// fdtd-lab: a configurable one-dimensional FDTD solver driven by scenario files.
#include <CLI/CLI.hpp>

#include <string>

#include "lab/batch_run.h"
#include "lab/help_text.h"

namespace {

// `fdtd-lab run SCENARIO --out DIR`
CLI::App* add_run_command(CLI::App& app, lab::BatchOptions& options) {
    CLI::App* run = app.add_subcommand("run", "Run a scenario to its end and write CSV tables");
    run->add_option("scenario", options.scenario_path, "Scenario file (TOML)")->required();
    run->add_option("-o,--out", options.out_dir, "Folder for the CSV files")->required();
    run->footer(std::string(lab::run_outputs_help()) + lab::exit_status_help());
    return run;
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app("fdtd-lab: electromagnetic waves on a line, computed with the finite-difference "
                 "time-domain method and held against theory.",
                 "fdtd-lab");
    app.require_subcommand(1);
    lab::BatchOptions run_options;
    CLI::App* run = add_run_command(app, run_options);
    app.footer(std::string(lab::scenario_help()) + "\n" + lab::run_outputs_help() + "\n" +
               lab::exit_status_help());
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // --help prints and ends well; anything else is a usage error.
        return app.exit(error) == 0 ? lab::exit_ok : lab::exit_bad_input;
    }
    if (run->parsed()) return lab::run_batch(run_options);
    return lab::exit_bad_input;
}
