// The page's entry points: the canvas opens on no scenario; the page's script (page.js)
// loads one and drives the view through these functions, which window.fdtdLab wraps.
#include <emscripten.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "lab/analysis/csv_output.h"
#include "lab/scenario/scenario_reader.h"
#include "lab/view/line_page.h"
#include "lab/view/outputs.h"
#include "lab/view/plot_data.h"
#include "lab/view/window_system.h"
#include "lab/view/window_web.h"

namespace {

using lab::view::LinePage;

LinePage* line_page = nullptr; // the page shown, as the line page it is

// Strings handed to the script stay valid until the next call that returns one.
const char* handed_out(std::string text) {
    static std::string held;
    held = std::move(text);
    return held.c_str();
}

// What a table writer puts into a stream, as text.
std::string table_text(const std::function<bool(std::FILE*)>& write) {
    char* buffer = nullptr;
    std::size_t size = 0;
    std::FILE* stream = open_memstream(&buffer, &size);
    if (stream == nullptr) return {};
    const bool written = write(stream);
    std::fclose(stream);
    std::string text = written ? std::string(buffer, size) : std::string();
    std::free(buffer);
    return text;
}

} // namespace

extern "C" {

// "" when the scenario is shown, else why not (FILE:LINE:COLUMN: message for a bad file);
// a refused scenario leaves the one shown running.
EMSCRIPTEN_KEEPALIVE const char* fdtd_load(const char* toml_text, const char* file_name) {
    try {
        auto page = std::make_unique<LinePage>(lab::parse_scenario(toml_text, file_name));
        line_page = page.get();
        lab::view::web::show(std::move(page));
        return "";
    } catch (const std::exception& error) {
        return handed_out(error.what());
    }
}

EMSCRIPTEN_KEEPALIVE const char* fdtd_status() {
    if (line_page == nullptr) return "";
    const lab::view::Session& session = line_page->session();
    return handed_out(
        lab::view::status_line(session.run(), session.steps_per_frame(), session.running()));
}

// The line of news under the status line.
EMSCRIPTEN_KEEPALIVE const char* fdtd_message() {
    return line_page == nullptr ? "" : line_page->session().message().c_str();
}

EMSCRIPTEN_KEEPALIVE void fdtd_key(int key) {
    lab::view::web::press_key(static_cast<unsigned char>(key));
}

// n single steps, as the step key takes them: the run pauses.
EMSCRIPTEN_KEEPALIVE void fdtd_step(int steps) {
    for (int i = 0; i < steps && line_page != nullptr; ++i)
        line_page->command(lab::view::Command::one_step);
}

EMSCRIPTEN_KEEPALIVE void fdtd_run(int on) {
    if (line_page != nullptr && line_page->running() != (on != 0))
        line_page->command(lab::view::Command::run_pause);
}

EMSCRIPTEN_KEEPALIVE void fdtd_set_steps_per_frame(int steps) {
    if (line_page != nullptr) line_page->set_steps_per_frame(steps);
}

EMSCRIPTEN_KEEPALIVE int fdtd_step_count() {
    return line_page == nullptr ? 0 : line_page->progress().step;
}

EMSCRIPTEN_KEEPALIVE void fdtd_resize(int width_px, int height_px) {
    lab::view::web::resize(width_px, height_px);
}

// Draws the picture now, so that the script can read the canvas in the same task.
EMSCRIPTEN_KEEPALIVE void fdtd_redraw() { lab::view::web::redraw(); }

EMSCRIPTEN_KEEPALIVE void fdtd_say(const char* message) { lab::view::web::say(message); }

// fields.csv, probes.csv or spectra.csv as fdtd-lab run writes them after the steps taken;
// "" for another name, or spectra of a run without them (or that blew up).
EMSCRIPTEN_KEEPALIVE const char* fdtd_csv(const char* name) {
    if (line_page == nullptr) return "";
    const lab::Experiment& experiment = line_page->session().experiment();
    const lab::Simulation& run = experiment.run();
    const std::string table = name;
    if (table == "fields.csv")
        return handed_out(
            table_text([&](std::FILE* out) { return lab::write_fields_csv(out, run); }));
    if (table == "probes.csv")
        return handed_out(table_text([&](std::FILE* out) {
            return lab::view::write_kept_probes(out, run, line_page->session().histories());
        }));
    if (table == "spectra.csv" && experiment.has_spectra() && !run.blown_up())
        return handed_out(table_text(
            [&](std::FILE* out) { return lab::write_spectra_csv(out, experiment.spectra()); }));
    return "";
}

} // extern "C"

int main() {
    lab::view::open_window();
    return EXIT_SUCCESS; // the browser's frames carry on after main
}
