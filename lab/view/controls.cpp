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

Command command_for_key(unsigned char key) {
    switch (key) {
    case ' ':
    case 'r':
        return Command::run_pause;
    case 'n':
        return Command::one_step;
    case '+':
    case '=':
        return Command::faster; // '+' without shift on most keyboards
    case '-':
        return Command::slower;
    case '0':
        return Command::reset;
    case '[':
        return Command::cycle_left_end;
    case ']':
        return Command::cycle_right_end;
    case 's':
        return Command::cycle_source;
    case 'w':
        return Command::cycle_waveform;
    case 'm':
        return Command::toggle_materials;
    case 'h':
        return Command::toggle_help;
    case 'p':
        return Command::export_eps;
    case 'e':
        return Command::export_pictures;
    case 'g':
        return Command::toggle_gif;
    case 'c':
        return Command::write_csv;
    case 'q':
    case key_escape:
        return Command::quit;
    default:
        return Command::none;
    }
}

const std::vector<KeyHelp>& key_help() {
    static const std::vector<KeyHelp> help = {
        {"space, r", "run / pause"},
        {"n", "one step"},
        {"+, -", "more / fewer steps per frame (1, 2, 5, 10, 20, 50, ...)"},
        {"0", "reset to step 0"},
        {"[, ]", "cycle the left / right end: pec, pmc, abc, mur, pml (restarts)"},
        {"s", "cycle the source: hard, soft, tfsf (restarts)"},
        {"w", "cycle the waveform: gaussian, ricker, sine, modulated (restarts)"},
        {"m", "material layers off / on (restarts)"},
        {"drag", "move the source or a probe marker along the space plot (restarts)"},
        {"p", "write out.eps"},
        {"e", "write out.pdf, out.svg and out.png"},
        {"g", "start / stop recording out.gif"},
        {"c", "write fields.csv, probes.csv (and spectra.csv)"},
        {"h", "show / hide this help"},
        {"q, Escape", "quit"},
    };
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
