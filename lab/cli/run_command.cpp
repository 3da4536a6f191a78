#include "lab/cli/run_command.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <new>
#include <system_error>
#include <vector>

#include "lab/analysis/csv_output.h"
#include "lab/analysis/experiment.h"
#include "lab/analysis/run_warnings.h"
#include "lab/analysis/wording.h"
#include "lab/scenario/layer_geometry.h"
#include "lab/scenario/scenario_reader.h"
#include "rizodozad/core/atomic_file.h"

namespace lab {

namespace {

namespace fs = std::filesystem;
using rizodozad::AtomicFile;

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

// The folder, created when missing; an empty string when it is fine, else the reason.
std::string prepare_folder(const std::string& dir, CreatedFolders& created) {
    if (dir.empty()) return "--out: the folder name is empty";
    std::error_code error;
    if (fs::exists(dir, error) && !fs::is_directory(dir, error)) return dir + ": not a folder";
    created.note_missing(dir);
    fs::create_directories(dir, error);
    if (error) return dir + ": cannot create: " + error.message();
    return "";
}

struct Outputs {
    std::unique_ptr<AtomicFile> fields, probes, spectra;
};

// The temporaries of every file the run writes, made before it starts so that an
// unwritable folder is found at once; an empty string when all could be made.
std::string open_outputs(const std::string& dir, bool spectra, Outputs& out) {
    const auto open = [&](const char* name, std::unique_ptr<AtomicFile>& file) {
        file = std::make_unique<AtomicFile>((fs::path(dir) / name).string());
        return file->stream() ? std::string()
                              : file->target() + ": cannot write: " + file->error_text();
    };
    std::string problem = open("fields.csv", out.fields);
    if (problem.empty()) problem = open("probes.csv", out.probes);
    if (problem.empty() && spectra) problem = open("spectra.csv", out.spectra);
    return problem;
}

bool commit(AtomicFile& file) {
    if (file.commit()) return true;
    std::fprintf(stderr, "fdtd-lab: %s: cannot write: %s\n", file.target().c_str(),
                 file.error_text());
    return false;
}

//-----------------------------------------------------------------------------
// [SECTION] Summaries
//-----------------------------------------------------------------------------

void report_fields(const AtomicFile& file, const Simulation& sim) {
    std::printf("wrote %s: Ez and Hy of %zu cells after step %d (t = %.6g s)\n",
                file.target().c_str(), sim.ez().size(), sim.step_count(), sim.time_s());
}

void report_probes(const AtomicFile& file, const Simulation& sim) {
    std::printf("wrote %s: %d %s of %zu %s\n", file.target().c_str(), sim.step_count(),
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

void report_spectra(const AtomicFile& file, const Spectra& s) {
    int unmeasured = 0;
    for (double r : s.R)
        unmeasured += std::isnan(r) ? 1 : 0;
    std::printf("wrote %s: R and T at %zu %s", file.target().c_str(), s.R.size(),
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

// Set by SIGINT or SIGTERM: the run stops after the current step and writes nothing.
volatile std::sig_atomic_t stop_signal = 0;

extern "C" void request_stop(int signal) { stop_signal = signal; }

enum class RunEnd { done, write_error, interrupted };

void warn(const std::string& message) {
    std::fprintf(stderr, "fdtd-lab: warning: %s\n", message.c_str());
}

// Steps the experiment to its end, one probes.csv row per step.
RunEnd step_to_end(Experiment& e, std::FILE* probes, EnergyWatch& energy) {
    ProgressLine progress;
    Simulation& run = e.run();
    bool ok = write_probe_header(probes, run);
    while (ok && !run.finished() && stop_signal == 0) {
        e.step();
        energy.observe(run);
        ok = write_probe_row(probes, run);
        progress.update(run.step_count(), run.total_steps());
    }
    progress.finish();
    if (!ok) return RunEnd::write_error;
    return stop_signal == 0 ? RunEnd::done : RunEnd::interrupted;
}

// A spectra.csv this run does not write may be from an earlier one: say so, keep it.
void warn_of_old_spectra(const AtomicFile& fields) {
    const fs::path old = fs::path(fields.target()).parent_path() / "spectra.csv";
    std::error_code error;
    if (fs::exists(old, error))
        std::fprintf(stderr, "fdtd-lab: note: %s is from an earlier run, not this one\n",
                     old.string().c_str());
}

int finish(Experiment& e, Outputs& out, const EnergyWatch& energy) {
    const Simulation& run = e.run();
    if (!write_fields_csv(out.fields->stream(), run) || !commit(*out.fields)) return exit_failed;
    if (!commit(*out.probes)) return exit_failed;
    report_fields(*out.fields, run);
    report_probes(*out.probes, run);
    if (run.blown_up() || !out.spectra) warn_of_old_spectra(*out.fields);
    if (run.blown_up()) {
        std::fprintf(stderr, "fdtd-lab: %s; the files hold the steps up to there%s\n",
                     run.blow_up_message().c_str(),
                     out.spectra ? ", spectra.csv is not written" : "");
        return exit_unstable;
    }
    if (!out.spectra) return exit_ok;
    const Spectra spectra = e.spectra();
    if (!write_spectra_csv(out.spectra->stream(), spectra) || !commit(*out.spectra))
        return exit_failed;
    report_spectra(*out.spectra, spectra);
    const std::optional<std::string> ringing = energy.warning(run);
    if (ringing) warn(*ringing);
    if (const auto odd = spectra_warning(spectra, run.scenario(), ringing.has_value())) warn(*odd);
    return exit_ok;
}

} // namespace

int run_batch(const BatchOptions& options) {
    Scenario scenario;
    try {
        scenario = load_scenario(options.scenario_path);
    } catch (const ScenarioFileError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return exit_bad_input;
    }
    // Before any temporary exists, so that a signal never leaves one behind.
    std::signal(SIGINT, request_stop);
    std::signal(SIGTERM, request_stop);
    for (const std::string& note : rounding_notes(scenario))
        std::fprintf(stderr, "fdtd-lab: note: %s\n", note.c_str());
    for (const std::string& warning : setup_warnings(scenario))
        warn(warning);
    CreatedFolders created;
    std::string problem = prepare_folder(options.out_dir, created);
    Outputs out;
    if (problem.empty())
        problem = open_outputs(options.out_dir, scenario.spectrum.has_value(), out);
    if (!problem.empty()) {
        std::fprintf(stderr, "fdtd-lab: %s\n", problem.c_str());
        return exit_bad_input;
    }
    try {
        Experiment e(scenario);
        e.keep_history(false);
        EnergyWatch energy;
        switch (step_to_end(e, out.probes->stream(), energy)) {
        case RunEnd::write_error:
            std::fprintf(stderr, "fdtd-lab: %s: cannot write\n", out.probes->target().c_str());
            return exit_failed;
        case RunEnd::interrupted:
            std::fprintf(stderr, "fdtd-lab: stopped by a signal after step %d; nothing written\n",
                         e.run().step_count());
            return exit_signal_base + stop_signal;
        case RunEnd::done:
            break;
        }
        return finish(e, out, energy);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "fdtd-lab: not enough memory for a grid of %d cells\n",
                     scenario.grid.cells);
        return exit_failed;
    }
}

} // namespace lab
