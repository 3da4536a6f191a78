#include "lab/cli/view_command.h"

#include <GL/freeglut.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "lab/cli/exit_status.h"
#include "lab/scenario/scenario_reader.h"
#include "lab/view/outputs.h"
#include "lab/view/window.h"

namespace lab::view {

namespace {

constexpr const char* default_scenario_name = "slab.toml";
constexpr const char* installed_scenarios = "../share/fdtd-lab/scenarios";
constexpr const char* exit_display_missing = "needs an X display (DISPLAY is not set); on a "
                                             "machine without one use scripts/lab-movie";

std::optional<Scenario> scenario_from(const std::string& path) {
    try {
        return load_scenario(path);
    } catch (const ScenarioFileError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return std::nullopt;
    }
}

bool display_named(const char* command) {
    const char* display = std::getenv("DISPLAY");
    if (display != nullptr && *display != '\0') return true;
    std::fprintf(stderr, "fdtd-lab %s %s\n", command, exit_display_missing);
    return false;
}

// GLUT reads its own options from the command line; the lab's are parsed already.
void open_window() {
    static char name[] = "fdtd-lab";
    static char* argv[] = {name, nullptr};
    int argc = 1;
    glutInit(&argc, argv);
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(window_width_px, window_height_px);
    glutCreateWindow(window_title);
}

//-----------------------------------------------------------------------------
// [SECTION] The live window's callbacks
//-----------------------------------------------------------------------------

Window* live = nullptr; // the one window GLUT's callbacks serve

void on_display() { handle_display(*live); }
void on_reshape(int width, int height) { handle_reshape(*live, width, height); }
void on_idle() { handle_idle(*live); }
void on_keyboard(unsigned char key, int, int) { handle_keyboard(*live, key); }
void on_mouse(int button, int state, int x, int y) { handle_mouse(*live, button, state, x, y); }
void on_motion(int x, int y) { handle_motion(*live, x, y); }

void register_callbacks(Window& w) {
    live = &w;
    w.idle_callback = on_idle;
    glutDisplayFunc(on_display);
    glutReshapeFunc(on_reshape);
    glutKeyboardFunc(on_keyboard);
    glutMouseFunc(on_mouse);
    glutMotionFunc(on_motion);
}

//-----------------------------------------------------------------------------
// [SECTION] Recording
//-----------------------------------------------------------------------------

int steps_between_frames(const RecordOptions& options, const Scenario& s) {
    if (options.every > 0) return options.every;
    return std::max(1, (s.grid.steps + default_recording_frames - 1) / default_recording_frames);
}

void show_progress(const Simulation& run) {
    if (isatty(STDERR_FILENO) == 0) return;
    std::fprintf(stderr, "\rrecording: step %d/%d", run.step_count(), run.total_steps());
    if (run.finished()) std::fprintf(stderr, "\n");
}

bool record_frames(Window& w, rizodozad::GifRecorder& gif) {
    while (w.session.running()) {
        w.session.advance_frame();
        const long long at_ms = static_cast<long long>(gif.frame_count()) * gif.interval_ms();
        if (!gif.add_frame(w.picture.capture_picture(), at_ms)) return false;
        glutMainLoopEvent();
        show_progress(w.session.run());
    }
    return true;
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
    open_window();
    static std::unique_ptr<Window> window; // outlives the main loop, which may exit()
    window = std::make_unique<Window>(*scenario);
    window->picture.window_width = window_width_px;
    window->picture.window_height = window_height_px;
    window->report_redraws = std::getenv(redraw_report_variable) != nullptr;
    register_callbacks(*window);
    glutMainLoop();
    finish_recording(*window); // the window was closed
    return exit_ok;
}

int run_record(const RecordOptions& options) {
    const std::optional<Scenario> scenario = scenario_from(options.scenario_path);
    if (!scenario) return exit_bad_input;
    if (!display_named("record")) return exit_failed;
    open_window();
    Window w(*scenario);
    w.picture.window_width = window_width_px;
    w.picture.window_height = window_height_px;
    live = &w; // exposes are drawn; nothing else reaches a recording
    glutDisplayFunc(on_display);
    glutReshapeFunc(on_reshape);
    const int every = steps_between_frames(options, *scenario);
    w.session.set_steps_per_frame(every);
    w.session.command(Command::run_pause);
    rizodozad::GifRecorder gif(options.gif_path, recording_frame_interval_ms);
    if (!record_frames(w, gif) || !gif.finish()) return exit_failed;
    std::printf("%s: %zu frames, one every %d steps, %d steps\n",
                absolute(options.gif_path).c_str(), gif.frame_count(), every,
                w.session.run().step_count());
    if (w.session.run().blown_up()) {
        std::fprintf(stderr, "%s\n", w.session.run().blow_up_message().c_str());
        return exit_unstable;
    }
    return exit_ok;
}

std::string keys_help() {
    std::string text = "Keys in the view window:\n";
    for (const KeyHelp& key : key_help()) {
        char line[160];
        std::snprintf(line, sizeof line, "  %-11s %s\n", key.keys, key.meaning);
        text += line;
    }
    return text;
}

} // namespace lab::view
