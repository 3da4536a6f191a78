#include "lab/cli/run_command.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "lab/analysis/csv_output.h"
#include "lab/analysis/experiment.h"
#include "lab/cli/folder_lock.h"
#include "lab/cli/output_set.h"
#include "lab/cli/terminal_text.h"
#include "lab/scenario/scenario_reader.h"

namespace lab {

namespace {

namespace fs = std::filesystem;

//-----------------------------------------------------------------------------
// [SECTION] Progress on a terminal
//-----------------------------------------------------------------------------

class ProgressLine {
  public:
    ProgressLine() : shown_(isatty(STDERR_FILENO) == 1) {}

    void update(int step, int total) {
        if (!shown_) return;
        const auto now = std::chrono::steady_clock::now();
        if (now - last_ < interval && step < total) return;
        last_ = now;
        std::fprintf(stderr, "\rfdtd-lab: step %d of %d (%d%%)", step, total,
                     static_cast<int>(100.0 * step / total));
        std::fflush(stderr);
    }
    void finish() {
        if (shown_) std::fputc('\n', stderr);
    }

  private:
    static constexpr std::chrono::milliseconds interval{200};
    bool shown_;
    std::chrono::steady_clock::time_point last_{};
};

//-----------------------------------------------------------------------------
// [SECTION] Output folder and files
//-----------------------------------------------------------------------------

// The folder, created when missing; an empty string when it is fine, else the reason.
std::string prepare_folder(const std::string& dir) {
    if (dir.empty()) return "--out: the folder name is empty";
    // "-o --" would otherwise make a folder named "--".
    if (dir[0] == '-')
        return "--out: '" + dir + "' looks like an option; write ./" + dir + " for such a folder";
    std::error_code error;
    if (fs::exists(dir, error) && !fs::is_directory(dir, error)) return dir + ": not a folder";
    fs::create_directories(dir, error);
    if (error) return dir + ": cannot create: " + error.message();
    return "";
}

constexpr const char* fields_csv = "fields.csv";
constexpr const char* probes_csv = "probes.csv";
constexpr const char* spectra_csv = "spectra.csv";

// The run's files; their temporaries are made before it starts, so that an unwritable
// folder is found at once.
std::vector<std::string> output_names(bool spectra) {
    std::vector<std::string> names = {fields_csv, probes_csv};
    if (spectra) names.push_back(spectra_csv);
    return names;
}

//-----------------------------------------------------------------------------
// [SECTION] Summaries
//-----------------------------------------------------------------------------

void report_fields(const std::string& target, const Simulation& sim) {
    std::printf("wrote %s: Ez and Hy of %zu cells after step %d (t = %.6g s)\n", target.c_str(),
                sim.ez().size(), sim.step_count(), sim.time_s());
}

void report_probes(const std::string& target, const Simulation& sim) {
    std::printf("wrote %s: %d steps of %zu probes\n", target.c_str(), sim.step_count(),
                sim.probes().size());
}

void report_spectra(const std::string& target, const Spectra& s) {
    int unmeasured = 0;
    double worst_r = 0.0, worst_t = 0.0;
    for (std::size_t k = 0; k < s.R.size(); ++k) {
        if (std::isnan(s.R[k])) {
            ++unmeasured;
        } else if (s.theory) {
            worst_r = std::max(worst_r, std::fabs(s.R[k] - (*s.theory)[k].R));
            worst_t = std::max(worst_t, std::fabs(s.T[k] - (*s.theory)[k].T));
        }
    }
    std::printf("wrote %s: R and T at %zu frequencies", target.c_str(), s.R.size());
    if (s.theory)
        std::printf("; largest |R - R_theory| %.4f, |T - T_theory| %.4f", worst_r, worst_t);
    else
        std::printf("; no theory columns (the layers do not form a stack between the probes)");
    if (unmeasured > 0)
        std::printf("; empty at %d frequencies where the source spectrum is below %g of its peak",
                    unmeasured, incident_floor);
    std::printf("\n");
}

//-----------------------------------------------------------------------------
// [SECTION] The run
//-----------------------------------------------------------------------------

// Set by a stopping signal: the run stops after the current step, or before its files
// replace the old ones, and writes nothing.
volatile std::sig_atomic_t stop_signal = 0;

extern "C" void request_stop(int signal) { stop_signal = signal; }

// Signals that would otherwise end the program with its temporaries left in the folder.
constexpr int stopping_signals[] = {SIGINT,  SIGTERM, SIGHUP,  SIGQUIT,
                                    SIGUSR1, SIGUSR2, SIGPIPE, SIGALRM};

enum class RunEnd { done, write_error, interrupted };

// Steps the experiment to its end, one probes.csv row per step.
RunEnd step_to_end(Experiment& e, std::FILE* probes) {
    ProgressLine progress;
    Simulation& run = e.run();
    bool ok = write_probe_header(probes, run);
    while (ok && !run.finished() && stop_signal == 0) {
        e.step();
        ok = write_probe_row(probes, run);
        progress.update(run.step_count(), run.total_steps());
    }
    const int write_error = errno; // what the failed write left, before anything else runs
    progress.finish();
    errno = write_error;
    if (!ok) return RunEnd::write_error;
    return stop_signal == 0 ? RunEnd::done : RunEnd::interrupted;
}

// A spectra.csv this run does not write may be from an earlier one: say so, keep it.
void warn_of_old_spectra(const std::string& fields_target) {
    const fs::path old = fs::path(fields_target).parent_path() / spectra_csv;
    std::error_code error;
    if (fs::exists(old, error))
        std::fprintf(stderr, "fdtd-lab: note: %s is from an earlier run, not this one\n",
                     old.string().c_str());
}

int failed(const OutputSet& out) {
    std::fprintf(stderr, "fdtd-lab: %s; every earlier file is kept as it was\n",
                 out.problem().c_str());
    return exit_failed;
}

int interrupted(int step) {
    std::fprintf(stderr, "fdtd-lab: stopped by a signal at step %d; nothing written\n", step);
    return exit_signal_base + stop_signal;
}

// The files are in place; a summary lost on a full or closed standard output is said.
int with_summary_written(int status) {
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return status;
    std::fprintf(stderr, "fdtd-lab: standard output: cannot write the summary: %s\n",
                 std::strerror(errno));
    return status == exit_ok ? exit_failed : status;
}

// Writes the tables that remain into their temporaries, then puts the whole set in place.
int finish(Experiment& e, OutputSet& out) {
    const Simulation& run = e.run();
    if (!write_fields_csv(out.stream(fields_csv), run)) {
        out.failed_writing(fields_csv);
        return failed(out);
    }
    const bool spectra_wanted = out.stream(spectra_csv) != nullptr;
    std::optional<Spectra> spectra;
    if (spectra_wanted && !run.blown_up()) {
        spectra = e.spectra();
        if (!write_spectra_csv(out.stream(spectra_csv), *spectra)) {
            out.failed_writing(spectra_csv);
            return failed(out);
        }
    }
    if (spectra_wanted && run.blown_up()) out.leave_out(spectra_csv);
    // A signal while the tables were written: the OutputSet's destructor removes them.
    if (stop_signal != 0) return interrupted(run.step_count());
    if (!out.commit()) return failed(out);
    report_fields(out.target(fields_csv), run);
    report_probes(out.target(probes_csv), run);
    if (run.blown_up() || !spectra_wanted) warn_of_old_spectra(out.target(fields_csv));
    if (run.blown_up()) {
        std::fprintf(stderr, "fdtd-lab: %s; the files hold the steps up to there%s\n",
                     run.blow_up_message().c_str(),
                     spectra_wanted ? ", spectra.csv is not written" : "");
        return exit_unstable;
    }
    if (spectra) report_spectra(out.target(spectra_csv), *spectra);
    return exit_ok;
}

} // namespace

int run_batch(const BatchOptions& options) {
    Scenario scenario;
    try {
        scenario = load_scenario(options.scenario_path);
    } catch (const ScenarioFileError& error) {
        std::fprintf(stderr, "%s\n", printable(error.what()).c_str());
        return exit_bad_input;
    }
    // Before any temporary exists, so that a signal never leaves one behind.
    for (int signal : stopping_signals)
        std::signal(signal, request_stop);
    // A file beyond the size limit then fails its write, which is reported like a full disk.
    std::signal(SIGXFSZ, SIG_IGN);
    const std::string problem = prepare_folder(options.out_dir);
    if (!problem.empty()) {
        std::fprintf(stderr, "fdtd-lab: %s\n", problem.c_str());
        return exit_bad_input;
    }
    const FolderLock lock(options.out_dir);
    if (!lock.problem().empty()) {
        std::fprintf(stderr, "fdtd-lab: %s\n", lock.problem().c_str());
        return exit_bad_input;
    }
    OutputSet out(options.out_dir, output_names(scenario.spectrum.has_value()));
    if (!out.problem().empty()) {
        std::fprintf(stderr, "fdtd-lab: %s\n", out.problem().c_str());
        return exit_bad_input;
    }
    try {
        Experiment e(scenario);
        e.keep_history(false);
        switch (step_to_end(e, out.stream(probes_csv))) {
        case RunEnd::write_error:
            out.failed_writing(probes_csv);
            return failed(out);
        case RunEnd::interrupted:
            return interrupted(e.run().step_count());
        case RunEnd::done:
            break;
        }
        return with_summary_written(finish(e, out));
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "fdtd-lab: not enough memory for a grid of %d cells\n",
                     scenario.grid.cells);
        return exit_failed;
    }
}

} // namespace lab
