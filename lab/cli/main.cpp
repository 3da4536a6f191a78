// fdtd-lab: a configurable one-dimensional FDTD solver driven by scenario files.
#include <CLI/CLI.hpp>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "lab/cli/help_text.h"
#include "lab/cli/run_command.h"
#include "lab/cli/sweep_command.h"
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

// `fdtd-lab sweep SCENARIO --set KEY=V1,V2,... --out DIR [--jobs N] [--index K]`, or
// `fdtd-lab sweep --merge DIR`
CLI::App* add_sweep_command(CLI::App& app, lab::SweepOptions& options) {
    CLI::App* sweep = app.add_subcommand(
        "sweep", "Run a scenario at every combination of changed values into DIR/sweep.csv");
    sweep->add_option("scenario", options.scenario_path, "Scenario file (TOML)");
    sweep->add_option("--set", options.settings, "KEY=V1,V2,...: values of a key path")->take_all();
    sweep->add_option("-o,--out", options.out_dir, "Folder for sweep.csv");
    sweep->add_option("-j,--jobs", options.jobs, "Points run at once")->check(CLI::PositiveNumber);
    sweep->add_option("--index", options.index, "Run point K alone into DIR/sweep-point-K-of-N.csv")
        ->check(CLI::NonNegativeNumber);
    sweep->add_option("--merge", options.merge_dir, "Join the parts in DIR into DIR/sweep.csv");
    sweep->footer("Points are numbered from 0 with the last --set changing fastest. Exit "
                  "status 4: some points could not be run (each is named); the table holds "
                  "the others.\n");
    return sweep;
}

// --scale S of view and record.
void add_scale_option(CLI::App& command, double& scale) {
    command
        .add_option("--scale", scale,
                    "Text and line widths S times their size (default: larger in windows taller "
                    "than about 900 pixels)")
        ->check(CLI::Validator(lab::view::scale_problem, "S"));
}

// `fdtd-lab view [SCENARIO]`
CLI::App* add_view_command(CLI::App& app, lab::view::ViewOptions& options) {
    CLI::App* view = app.add_subcommand(
        "view", "Open the live window (the slab scenario when no file is given)");
    view->add_option("scenario", options.scenario_path, "Scenario file (TOML)");
    add_scale_option(*view, options.scale);
    view->footer(lab::view::keys_help() +
                 "Keys never change the scenario file; p, e, c and g write into the working "
                 "directory.\nWithout a file: slab.toml from the folder in $" +
                 std::string(lab::view::scenario_folder_variable) +
                 ", else ../share/fdtd-lab/scenarios beside the program, else the lab/scenarios "
                 "folder it was built from.\n");
    return view;
}

// `fdtd-lab record SCENARIO --gif FILE [--every K] [--from N] [--to N] [--fps F] [--no-status]`
CLI::App* add_record_command(CLI::App& app, lab::view::RecordOptions& options) {
    CLI::App* record = app.add_subcommand(
        "record", "Run a scenario in the window and write it as an animated GIF");
    record->add_option("scenario", options.scenario_path, "Scenario file (TOML)")->required();
    record->add_option("--gif", options.gif_path, "The GIF file to write")->required();
    record
        ->add_option("--every", options.every,
                     "Steps between frames (default: about " +
                         std::to_string(lab::view::default_recording_frames) + " frames)")
        ->check(CLI::Range(1, lab::max_steps)); // PositiveNumber's message shows 309 digits
    record->add_option("--from", options.from_step, "Step of the first frame (default 0)")
        ->check(CLI::NonNegativeNumber);
    record
        ->add_option("--to", options.to_step,
                     "Step of the last frame (default: once the fields have left the grid, "
                     "or the run's end)")
        ->check(CLI::PositiveNumber);
    record
        ->add_option("--fps", options.fps,
                     "Frames per second of the GIF, 1 to 50 (default " +
                         std::to_string(1000 / lab::view::gif_frame_interval_ms) + ")")
        ->check(CLI::Range(1.0, lab::view::largest_recording_fps));
    add_scale_option(*record, options.scale);
    record->add_flag("--no-status{false}", options.status_shown,
                     "Leave out the status line and the news under it");
    record->footer("Needs an X display; scripts/lab-movie provides a virtual one.\n");
    return record;
}

// The OpenMP team's threads wait for work passively (asleep) unless the environment says
// otherwise. By default they spin for a while first, which on a machine busier than its
// cores burns several times the run's own CPU time (threads spinning for a core the thread
// they wait for needs), and gains little since the grid meets the team once per block of
// steps. The OpenMP runtime reads its variables as it loads, before main: the program sets
// the variable and starts itself again, once; should that fail it runs on as it is.
void wait_passively_unless_told(char** argv) {
#if defined(_OPENMP) && defined(__linux__)
    if (std::getenv("OMP_WAIT_POLICY") != nullptr || std::getenv("GOMP_SPINCOUNT") != nullptr)
        return;
    if (setenv("OMP_WAIT_POLICY", "passive", 0) != 0) return;
    execv("/proc/self/exe", argv);
#else
    (void)argv;
#endif
}

} // namespace

int main(int argc, char** argv) {
    wait_passively_unless_told(argv);
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
    lab::SweepOptions sweep_options;
    CLI::App* run = add_run_command(app, run_options);
    CLI::App* sweep = add_sweep_command(app, sweep_options);
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
        if (sweep->parsed()) return lab::sweep_from_command_line(sweep_options);
        if (record->parsed()) return lab::view::run_record(record_options);
        if (view->parsed()) return lab::view::run_view(view_options);
        return lab::view::run_view({});
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "fdtd-lab: not enough memory for this scenario's grid and its "
                             "histories\n");
        return lab::exit_failed;
    }
}
