#include "lab/cli/view_command.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "lab/analysis/folder_lock.h"
#include "lab/analysis/wording.h"
#include "lab/cli/exit_status.h"
#include "lab/cli/terminal_text.h"
#include "lab/scenario/scenario_reader.h"
#include "lab/view/line_page.h"
#include "lab/view/outputs.h"
#include "lab/view/window.h"
#include "lab/view/window_system.h"
#include "rizodozad/core/atomic_file.h"

namespace lab::view {

namespace {

constexpr const char* default_scenario_name = "slab.toml";
constexpr const char* installed_scenarios = "../share/fdtd-lab/scenarios";
constexpr const char* exit_display_missing = "needs an X display (DISPLAY is not set); on a "
                                             "machine without one use scripts/lab-movie";

//-----------------------------------------------------------------------------
// [SECTION] Signals and temporaries
//-----------------------------------------------------------------------------

extern "C" void request_view_stop(int signal) { stop_signal = signal; }

// Signals that would otherwise end the program with a recording's temporary left behind;
// the view ends at its next frame instead, the temporary removed.
constexpr int stopping_signals[] = {SIGINT,  SIGTERM, SIGHUP,  SIGQUIT,
                                    SIGUSR1, SIGUSR2, SIGPIPE, SIGALRM};

void stop_on_signals() {
    for (int signal : stopping_signals)
        std::signal(signal, request_view_stop);
    // A GIF beyond the size limit then fails its write, which is said like a full disk.
    std::signal(SIGXFSZ, SIG_IGN);
}

int stopped() {
    std::fprintf(stderr, "fdtd-lab: stopped by a signal; the recording is not kept\n");
    return exit_signal_base + stop_signal;
}

std::string folder_of(const std::string& path) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

// A killed recording's temporaries beside the GIF; the caller holds the folder's lock, so
// none of them is in use.
void remove_stale_temporaries(const std::string& gif_path) {
    namespace fs = std::filesystem;
    const std::string name = fs::path(gif_path).filename().string();
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder_of(gif_path), error))
        if (rizodozad::is_temporary_of(entry.path().filename().string(), name) &&
            entry.is_regular_file(error))
            fs::remove(entry.path(), error);
}

//-----------------------------------------------------------------------------
// [SECTION] Scenario, display and span
//-----------------------------------------------------------------------------

std::optional<Scenario> scenario_from(const std::string& path) {
    try {
        return load_scenario(path);
    } catch (const ScenarioFileError& error) {
        std::fprintf(stderr, "%s\n", printable(error.what()).c_str());
        return std::nullopt;
    }
}

bool display_named(const char* command) {
    const char* display = std::getenv("DISPLAY");
    if (display != nullptr && *display != '\0') return true;
    std::fprintf(stderr, "fdtd-lab %s %s\n", command, exit_display_missing);
    return false;
}

// Without --every, about default_recording_frames frames over the steps the span may show.
int steps_between_frames(const RecordOptions& options, const Scenario& s) {
    if (options.every > 0) return options.every;
    const int last = options.to_step >= 0 ? options.to_step : s.grid.steps;
    const int steps = std::max(1, last - options.from_step);
    return std::max(1, (steps + default_recording_frames - 1) / default_recording_frames);
}

RecordingSpan span_of(const RecordOptions& options, const Scenario& s) {
    RecordingSpan span{options.from_step, std::nullopt, steps_between_frames(options, s)};
    if (options.to_step >= 0) span.to_step = options.to_step;
    return span;
}

void report_recording(const std::string& gif_path, std::size_t frames, int every,
                      const Recorded& recorded) {
    std::printf("%s: %zu %s, steps %d to %d, one every %d %s", absolute(gif_path).c_str(), frames,
                plural(static_cast<long long>(frames), "frame", "frames"), recorded.first_step,
                recorded.end.step, every, plural(every, "step", "steps"));
    if (!recorded.end.finished && recorded.end.step < recorded.end.total_steps)
        std::printf(" (of %d)", recorded.end.total_steps);
    std::printf("\n");
    if (recorded.window_closed)
        std::fprintf(stderr, "fdtd-lab record: the window was closed; the GIF ends at step %d\n",
                     recorded.end.step);
}

} // namespace

std::string default_scenario_path() {
    std::vector<std::filesystem::path> folders;
    if (const char* chosen = std::getenv(scenario_folder_variable)) folders.emplace_back(chosen);
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) folders.push_back(program.parent_path() / installed_scenarios);
    folders.emplace_back(FDTD_LAB_SOURCE_SCENARIOS);
    for (const std::filesystem::path& folder : folders)
        if (std::filesystem::exists(folder / default_scenario_name, error))
            return (folder / default_scenario_name).lexically_normal().string();
    return (folders.front() / default_scenario_name).string(); // the reader says it is missing
}

int run_view(const ViewOptions& options) {
    const std::string path =
        options.scenario_path.empty() ? default_scenario_path() : options.scenario_path;
    const std::optional<Scenario> scenario = scenario_from(path);
    if (!scenario) return exit_bad_input;
    if (!display_named("view")) return exit_failed;
    stop_on_signals();
    open_window();
    show_live(std::make_unique<LinePage>(*scenario), options.scale);
    return stop_signal != 0 ? stopped() : exit_ok;
}

int run_record(const RecordOptions& options) {
    const std::optional<Scenario> scenario = scenario_from(options.scenario_path);
    if (!scenario) return exit_bad_input;
    const RecordingSpan span = span_of(options, *scenario);
    if (const std::optional<const char*> problem = span_problem(span, scenario->grid.steps)) {
        std::fprintf(stderr, "fdtd-lab record: %s (%d)\n", *problem, scenario->grid.steps);
        return exit_bad_input;
    }
    if (!display_named("record")) return exit_failed;
    const FolderLock lock(folder_of(options.gif_path));
    if (!lock.problem().empty()) {
        std::fprintf(stderr, "fdtd-lab record: %s\n", lock.problem().c_str());
        return exit_bad_input;
    }
    stop_on_signals();
    remove_stale_temporaries(options.gif_path);
    open_window();
    rizodozad::GifRecorder gif(options.gif_path,
                               static_cast<int>(std::lround(1000.0 / options.fps)));
    auto page = std::make_unique<LinePage>(*scenario);
    page->show_status(options.status_shown);
    const std::optional<Recorded> recorded = record_run(std::move(page), span, gif, options.scale);
    if (stop_signal != 0) return stopped(); // the recorder removes its temporary
    if (!recorded || !gif.finish()) return exit_failed;
    report_recording(options.gif_path, gif.frame_count(), span.steps_per_frame, *recorded);
    if (!recorded->end.blow_up.empty()) {
        std::fprintf(stderr, "%s\n", recorded->end.blow_up.c_str());
        return exit_unstable;
    }
    return exit_ok;
}

std::string scale_problem(const std::string& text) {
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    const bool number = end != text.c_str() && *end == '\0' && errno == 0 && std::isfinite(value);
    if (number && value > 0 && value <= largest_scale) return "";
    char message[200];
    std::snprintf(message, sizeof message,
                  "--scale takes a number above 0 and at most %g (1 is the font's own size), "
                  "not '%s'",
                  largest_scale, printable(text).c_str());
    return message;
}

std::string keys_help() {
    std::string text = "Keys in the view window:\n";
    for (const KeyHelp& key : line_key_help()) {
        char line[160];
        std::snprintf(line, sizeof line, "  %-11s %s\n", key.keys.c_str(), key.meaning);
        text += line;
    }
    return text;
}

} // namespace lab::view
