// fdtd-lab: a configurable one-dimensional FDTD solver driven by scenario files.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <new>
#include <string>

#include "lab/cli/help_text.h"
#include "lab/cli/run_command.h"
#include "lab/cli/view_command.h"
#include "lab/scenario/scenario_check.h"
#include "rizodozad/core/standard_descriptors.h"

namespace {

// `fdtd-lab run SCENARIO --out DIR`
CLI::App* add_run_command(CLI::App& app, lab::BatchOptions& options) {
    CLI::App* run = app.add_subcommand("run", "Run a scenario to its end and write CSV tables");
    run->add_option("scenario", options.scenario_path, "Scenario file (TOML)")->required();
    run->add_option("-o,--out", options.out_dir, "Folder for the CSV files")->required();
    run->footer(std::string(lab::run_outputs_help()) + lab::exit_status_help());
    return run;
}

// `fdtd-lab view [SCENARIO]`
CLI::App* add_view_command(CLI::App& app, lab::view::ViewOptions& options) {
    CLI::App* view = app.add_subcommand(
        "view", "Open the live window (the slab scenario when no file is given)");
    view->add_option("scenario", options.scenario_path, "Scenario file (TOML)");
    view->footer(lab::view::keys_help() +
                 "Keys never change the scenario file; p, e, c and g write into the working "
                 "directory.\nWithout a file: slab.toml from the folder in $" +
                 std::string(lab::view::scenario_folder_variable) +
                 ", else ../share/fdtd-lab/scenarios beside the program, else the lab/scenarios "
                 "folder it was built from.\n");
    return view;
}

// `fdtd-lab record SCENARIO --gif FILE [--every K]`
CLI::App* add_record_command(CLI::App& app, lab::view::RecordOptions& options) {
    CLI::App* record = app.add_subcommand(
        "record", "Run a scenario to its end in the window and write it as an animated GIF");
    record->add_option("scenario", options.scenario_path, "Scenario file (TOML)")->required();
    record->add_option("--gif", options.gif_path, "The GIF file to write")->required();
    record
        ->add_option("--every", options.every,
                     "Steps between frames (default: about " +
                         std::to_string(lab::view::default_recording_frames) + " frames)")
        ->check(CLI::Range(1, lab::max_steps)); // PositiveNumber's message shows 309 digits
    record->footer("Needs an X display; scripts/lab-movie provides a virtual one.\n");
    return record;
}

} // namespace

int main(int argc, char** argv) {
    // A closed descriptor 2 would be taken by the X connection, and the first message
    // printed would go into its protocol stream and freeze the window.
    rizodozad::open_closed_standard_descriptors();
    CLI::App app("fdtd-lab: electromagnetic waves on a line, computed with the finite-difference "
                 "time-domain method and held against theory. Without a command it opens the "
                 "live window on the slab scenario.",
                 "fdtd-lab");
    app.require_subcommand(0, 1);
    lab::BatchOptions run_options;
    lab::view::ViewOptions view_options;
    lab::view::RecordOptions record_options;
    CLI::App* run = add_run_command(app, run_options);
    CLI::App* view = add_view_command(app, view_options);
    CLI::App* record = add_record_command(app, record_options);
    app.footer(std::string(lab::scenario_help()) + "\n" + lab::run_outputs_help() + "\n" +
               lab::view::keys_help() + "\n" + lab::exit_status_help());
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // --help prints and ends well; anything else is a usage error.
        return app.exit(error) == 0 ? lab::exit_ok : lab::exit_bad_input;
    }
    try {
        if (run->parsed()) return lab::run_batch(run_options);
        if (record->parsed()) return lab::view::run_record(record_options);
        if (view->parsed()) return lab::view::run_view(view_options);
        return lab::view::run_view({});
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "fdtd-lab: not enough memory for this scenario's grid and its "
                             "histories\n");
        return lab::exit_failed;
    }
}
