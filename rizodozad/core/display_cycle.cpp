// The display cycle: the composition is run in an allocation pass that builds the
// records and in configuration passes that find them again and refill their data;
// a display pass then draws them. `mode` carries over from one call to the next.
#include <cstddef>
#include <cstdio>
#include <vector>

#include "rizodozad/core/engine.h"

namespace rizodozad {

namespace {

// A composition that never agrees with itself would otherwise rebuild forever:
// after this many mismatches in one call, what exists is drawn and the next call
// tries again.
constexpr int max_mismatches_per_call = 2;

// keep_level values from which a tier of lists survives the allocation pass.
constexpr int keep_figures = 1;
constexpr int keep_layers = 2;
constexpr int keep_axes = 3;
constexpr int keep_children = 4;

void trace(int debug, const char* line) {
    if (!debug) return;
    std::puts(line);
    std::fflush(stdout);
}

template <class Record>
bool counted(int debug, const std::vector<Record>& list, int counter, const char* mismatch) {
    if (list.size() == static_cast<std::size_t>(counter)) return true;
    trace(debug, mismatch);
    return false;
}

} // namespace

void Engine::display_cycle() {
    // A composition that starts a cycle of its own would recurse until the stack runs out.
    if (cycling_) return;
    cycling_ = true;
    struct EndOfCycle {
        bool& cycling;
        ~EndOfCycle() { cycling = false; } // also when a composition throws
    } end_of_cycle{cycling_};
    const scales::InForce scales_in_force(scales); // layout and drawing read the same factors
    run_cycle();
}

void Engine::run_cycle() {
    int mismatches = 0;
    for (;;) {
        switch (mode) {
        case display_mode::allocation:
            allocation_pass();
            mode = display_mode::configuration;
            break;
        case display_mode::configuration:
            if (configuration_pass() || ++mismatches >= max_mismatches_per_call)
                mode = display_mode::display;
            else
                mode = display_mode::allocation;
            break;
        case display_mode::display:
            display_pass();
            mode = display_mode::configuration;
            return;
        default:
            mode = display_mode::allocation; // an unknown mode starts from fresh records
            break;
        }
    }
}

void Engine::rebuild() { mode = display_mode::allocation; }

void Engine::begin_pass(int pass_mode) {
    mode = pass_mode;
    reset_counters();
    forget_current_records();
    if (pass_mode == display_mode::allocation) forget_records();
    figure_texts.clear();
    // Every pass starts with one figure, one layer (with its own axes) and one more
    // axes before the application adds its records.
    create_figure();
    create_layer();
    create_axes();
}

void Engine::forget_records() {
    if (app.keep_level < keep_figures) figure_list.clear();
    if (app.keep_level < keep_layers) layer_list.clear();
    if (app.keep_level < keep_axes) axes_list.clear();
    if (app.keep_level < keep_children) {
        line_list.clear();
        surface_list.clear();
        text_list.clear();
        patch_list.clear();
    }
}

void Engine::allocation_pass() {
    trace(app.debug, "============================= allocation ...");
    begin_pass(display_mode::allocation);
    app.compose_figure();
    trace(app.debug, "done");
}

bool Engine::configuration_pass() {
    trace(app.debug, "============================= configulation ...");
    begin_pass(display_mode::configuration);
    app.compose_figure();

    // Every comparison is made, so each mismatching kind is reported.
    bool matched = counted(app.debug, figure_list, figure_counter, "not match in Figure");
    matched = counted(app.debug, axes_list, axes_counter, "not match in Axes") && matched;
    matched = counted(app.debug, line_list, line_counter, "not match in Line") && matched;
    matched = counted(app.debug, surface_list, surface_counter, "not match in Surface") && matched;
    matched = counted(app.debug, text_list, text_counter, "not match in Text") && matched;
    matched = counted(app.debug, layer_list, layer_counter, "not match in Layer") && matched;
    matched =
        counted(app.debug, colorbar_list, colorbar_counter, "not match in Colorbar") && matched;
    matched = counted(app.debug, patch_list, patch_counter, "not match in Patch") && matched;

    configure_every_axes();
    if (app.tidy_layout) lay_out_tidy();
    trace(app.debug, "done");
    return matched;
}

void Engine::display_pass() {
    trace(app.debug, "============================= display ...");
    drawn_texts.clear();
    display_figure();
    trace(app.debug, " done ");
}

} // namespace rizodozad
