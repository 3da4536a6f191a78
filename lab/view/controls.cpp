#include "lab/view/controls.h"

namespace lab::view {

namespace {

constexpr unsigned char key_escape = 27;

// The ladder's mantissas: 1, 2, 5 in every decade.
constexpr int ladder_decade = 10;

template <class Enum> Enum next_of(Enum value, int count) {
    return static_cast<Enum>((static_cast<int>(value) + 1) % count);
}

} // namespace

Command command_for_key(const KeyTable& table, unsigned char key) {
    for (const KeyBinding& row : table)
        if (row.key == key && key != mouse_row) return row.command;
    return Command::none;
}

std::vector<KeyHelp> key_help(const KeyTable& table) {
    std::vector<KeyHelp> help;
    for (const KeyBinding& row : table) {
        if (row.meaning != nullptr)
            help.push_back({row.name != nullptr ? row.name : "", row.meaning});
        else if (row.name != nullptr && !help.empty())
            help.back().keys += std::string(", ") + row.name;
    }
    return help;
}

const KeyTable& line_keys() {
    static const KeyTable table = {
        {' ', Command::run_pause, "space", "run / pause"},
        {'r', Command::run_pause, "r"},
        {'n', Command::one_step, "n", "one step"},
        {'+', Command::faster, "+", "more / fewer steps per frame (1, 2, 5, 10, 20, 50, ...)"},
        {'=', Command::faster}, // '+' without shift on most keyboards
        {'-', Command::slower, "-"},
        {'0', Command::reset, "0", "reset to step 0"},
        {'[', Command::cycle_left_end, "[",
         "cycle the left / right end: pec, pmc, abc, mur, pml (restarts)"},
        {']', Command::cycle_right_end, "]"},
        {'s', Command::cycle_source, "s", "cycle the source: hard, soft, tfsf (restarts)"},
        {'w', Command::cycle_waveform, "w",
         "cycle the waveform: gaussian, ricker, sine, modulated (restarts)"},
        {'m', Command::toggle_materials, "m", "materials: on, poles off (if any), off (restarts)"},
        {mouse_row, Command::none, "drag",
         "move the source or a probe marker along the space plot (restarts)"},
        {'p', Command::export_eps, "p", "write out.eps"},
        {'e', Command::export_pictures, "e", "write out.pdf, out.svg and out.png"},
        {'g', Command::toggle_gif, "g", "start / stop recording out.gif"},
        {'c', Command::write_csv, "c", "write fields.csv, probes.csv (and spectra.csv)"},
        {'h', Command::toggle_help, "h", "show / hide this help"},
        {'q', Command::quit, "q", "quit"},
        {key_escape, Command::quit, "Escape"},
    };
    return table;
}

const std::vector<KeyHelp>& line_key_help() {
    static const std::vector<KeyHelp> help = key_help(line_keys());
    return help;
}

int more_steps_per_frame(int steps) {
    int decade = 1;
    while (decade * ladder_decade <= steps)
        decade *= ladder_decade;
    int next = 0;
    for (int mantissa : {1, 2, 5, 10}) {
        next = mantissa * decade;
        if (next > steps) break;
    }
    return next > max_steps_per_frame ? steps : next;
}

int fewer_steps_per_frame(int steps) {
    if (steps <= 1) return 1;
    int lower = 1;
    for (int candidate = 1; candidate < steps; candidate = more_steps_per_frame(candidate))
        lower = candidate;
    return lower;
}

FramePacer::Clock::duration FramePacer::wait_before_frame(Clock::time_point now) const {
    constexpr auto frame_interval =
        std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(1)) /
        max_frames_per_second;
    if (!last_frame_) return Clock::duration::zero();
    const Clock::duration since = now - *last_frame_;
    return since >= frame_interval ? Clock::duration::zero() : frame_interval - since;
}

Boundary next_boundary(Boundary boundary) {
    return next_of(boundary, static_cast<int>(boundary_names().size()));
}
SourceType next_source_type(SourceType type) {
    return next_of(type, static_cast<int>(source_type_names().size()));
}
Waveform next_waveform(Waveform waveform) {
    return next_of(waveform, static_cast<int>(waveform_names().size()));
}

} // namespace lab::view
