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
#include "lab/analysis/folder_lock.h"
#include "lab/analysis/run_warnings.h"
#include "lab/analysis/wording.h"
#include "lab/cli/output_set.h"
#include "lab/cli/terminal_text.h"
#include "lab/scenario/layer_geometry.h"
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

// The folders a run created for --out, removed again when the run leaves them empty (out
// of memory, interrupted, nothing written); declared before the outputs so that their
// temporaries are gone by then.
class CreatedFolders {
  public:
    ~CreatedFolders() {
        std::error_code error;
        for (auto folder = created_.rbegin(); folder != created_.rend(); ++folder)
            if (fs::is_empty(*folder, error)) fs::remove(*folder, error);
    }
    void note_missing(const fs::path& dir) {
        std::error_code error;
        for (fs::path p = fs::absolute(dir, error); !p.empty() && !fs::exists(p, error);
             p = p.parent_path())
            created_.insert(created_.begin(), p);
    }

  private:
    std::vector<fs::path> created_; // outermost first
};

// A folder that cannot be made for want of permission says which folder above refused it.
std::string creation_problem(const std::string& dir, const std::error_code& error) {
    std::string text = dir + ": cannot create: " + error.message();
    if (error != std::errc::permission_denied && error != std::errc::operation_not_permitted &&
        error != std::errc::read_only_file_system)
        return text;
    std::error_code ignored;
    fs::path existing = fs::absolute(dir, ignored).lexically_normal();
    while (existing.has_relative_path() && !fs::exists(existing, ignored))
        existing = existing.parent_path();
    return text + " in " + existing.string();
}

// The folder, created when missing; an empty string when it is fine, else the reason.
std::string prepare_folder(const std::string& dir, CreatedFolders& created) {
    if (dir.empty()) return "--out: the folder name is empty";
    // "-o --" would otherwise make a folder named "--".
    if (dir[0] == '-')
        return "--out: '" + dir + "' looks like an option; write ./" + dir + " for such a folder";
    std::error_code error;
    if (fs::exists(dir, error) && !fs::is_directory(dir, error)) return dir + ": not a folder";
    created.note_missing(dir);
    fs::create_directories(dir, error);
    if (error) return creation_problem(dir, error);
    // Said of the folder, before its first temporary fails with the same reason.
    if (::access(dir.c_str(), W_OK | X_OK) != 0)
        return dir + ": cannot write into this folder: " + std::strerror(errno);
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
    std::printf("wrote %s: %d %s of %zu %s\n", target.c_str(), sim.step_count(),
                plural(sim.step_count(), "step", "steps"), sim.probes().size(),
                plural(static_cast<long long>(sim.probes().size()), "probe", "probes"));
}

// Largest differences from theory over the frequencies that have both numbers, and how
// many theory cells are empty (a stack the transfer matrix cannot describe there).
struct TheoryComparison {
    int compared = 0, theory_empty = 0;
    double worst_r = 0.0, worst_t = 0.0;
};

TheoryComparison compare_with_theory(const Spectra& s) {
    TheoryComparison c;
    for (std::size_t k = 0; k < s.R.size(); ++k) {
        const Reflection& th = (*s.theory)[k];
        if (!std::isfinite(th.R) || !std::isfinite(th.T)) {
            ++c.theory_empty;
        } else if (!std::isnan(s.R[k])) {
            ++c.compared;
            c.worst_r = std::max(c.worst_r, std::fabs(s.R[k] - th.R));
            c.worst_t = std::max(c.worst_t, std::fabs(s.T[k] - th.T));
        }
    }
    return c;
}

void report_theory(const Spectra& s) {
    if (!s.theory) {
        std::printf("; no theory columns (the layers do not form a stack between the probes)");
        return;
    }
    const TheoryComparison c = compare_with_theory(s);
    if (c.compared > 0)
        std::printf("; largest |R - R_theory| %.4f, |T - T_theory| %.4f", c.worst_r, c.worst_t);
    if (c.theory_empty > 0)
        std::printf("; theory empty at %d of %zu %s", c.theory_empty, s.R.size(),
                    plural(static_cast<long long>(s.R.size()), "frequency", "frequencies"));
}

void report_spectra(const std::string& target, const Spectra& s) {
    int unmeasured = 0;
    for (double r : s.R)
        unmeasured += std::isnan(r) ? 1 : 0;
    std::printf("wrote %s: R and T at %zu %s", target.c_str(), s.R.size(),
                plural(static_cast<long long>(s.R.size()), "frequency", "frequencies"));
    report_theory(s);
    if (unmeasured > 0)
        std::printf("; empty at %d %s where the source spectrum is below %g of its peak",
                    unmeasured, plural(unmeasured, "frequency", "frequencies"), incident_floor);
    std::printf("\n");
}

//-----------------------------------------------------------------------------
// [SECTION] The run
//-----------------------------------------------------------------------------

// Set by a stopping signal: the run stops after the current stretch of steps, or before its
// files replace the old ones, and writes nothing.
volatile std::sig_atomic_t stop_signal = 0;

extern "C" void request_stop(int signal) { stop_signal = signal; }

// Signals that would otherwise end the program with its temporaries left in the folder.
constexpr int stopping_signals[] = {SIGINT,  SIGTERM, SIGHUP,  SIGQUIT,
                                    SIGUSR1, SIGUSR2, SIGPIPE, SIGALRM};

enum class RunEnd { done, write_error, interrupted };

void warn(const std::string& message) {
    std::fprintf(stderr, "fdtd-lab: warning: %s\n", message.c_str());
}

// Steps the experiment to its end, one probes.csv row per step. The steps go in stretches
// that end on the energy watch's steps, where the whole line is in step: the grid takes each
// stretch in blocks, and the progress line and a stopping signal are seen between them.
RunEnd step_to_end(Experiment& e, std::FILE* probes, EnergyWatch& energy) {
    ProgressLine progress;
    Simulation& run = e.run();
    bool ok = write_probe_header(probes, run);
    int write_error = errno; // what the failed write left, before anything else runs
    const auto write_row = [&] {
        if (ok && !(ok = write_probe_row(probes, run))) write_error = errno;
    };
    while (ok && !run.finished() && stop_signal == 0) {
        const int stretch =
            EnergyWatch::interval_steps - run.step_count() % EnergyWatch::interval_steps;
        e.advance(std::min(stretch, run.total_steps() - run.step_count()), write_row);
        energy.observe(run);
        progress.update(run.step_count(), run.total_steps());
    }
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
    std::fprintf(stderr, "fdtd-lab: stopped by a signal after step %d; nothing written\n", step);
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
int finish(Experiment& e, OutputSet& out, const EnergyWatch& energy) {
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
    if (!spectra) return exit_ok;
    report_spectra(out.target(spectra_csv), *spectra);
    const std::optional<std::string> ringing = energy.warning(run);
    if (ringing) warn(*ringing);
    if (const auto odd = spectra_warning(*spectra, run.scenario(), ringing.has_value())) warn(*odd);
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
    for (const std::string& note : rounding_notes(scenario))
        std::fprintf(stderr, "fdtd-lab: note: %s\n", note.c_str());
    for (const std::string& warning : setup_warnings(scenario))
        warn(warning);
    CreatedFolders created;
    const std::string problem = prepare_folder(options.out_dir, created);
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
        EnergyWatch energy;
        switch (step_to_end(e, out.stream(probes_csv), energy)) {
        case RunEnd::write_error:
            out.failed_writing(probes_csv);
            return failed(out);
        case RunEnd::interrupted:
            return interrupted(e.run().step_count());
        case RunEnd::done:
            break;
        }
        return with_summary_written(finish(e, out, energy));
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "fdtd-lab: not enough memory for a grid of %d cells\n",
                     scenario.grid.cells);
        return exit_failed;
    }
}

} // namespace lab
