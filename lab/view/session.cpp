#include "lab/view/session.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

#include "lab/view/plot_data.h"

namespace lab::view {

// The run keeps no histories: a long run would grow without bound (see ProbeHistories).
Session::Session(const Scenario& scenario) : experiment_(scenario) {
    experiment_.keep_history(false);
    histories_.clear(run().probes().size());
}

void Session::changed() {
    histories_.follow(run().step_count(), run().probes().size());
    needs_redraw_ = true;
}

void Session::say(std::string message) {
    message_ = std::move(message);
    changed();
}

namespace {

// The commands that need the window; the others change the session.
Effect effect_of(Command command) {
    switch (command) {
    case Command::export_eps:
        return Effect::export_eps;
    case Command::export_pictures:
        return Effect::export_pictures;
    case Command::toggle_gif:
        return Effect::toggle_gif;
    case Command::write_csv:
        return Effect::write_csv;
    case Command::quit:
        return Effect::quit;
    default:
        return Effect::none;
    }
}

} // namespace

Effect Session::command(Command command) {
    const Effect effect = effect_of(command);
    if (effect != Effect::none || command == Command::none) return effect;
    change(command);
    changed();
    return Effect::none;
}

void Session::change(Command command) {
    switch (command) {
    case Command::run_pause:
        running_ = !running_ && !run().finished();
        break;
    case Command::one_step:
        running_ = false;
        step_once();
        break;
    case Command::faster:
        steps_per_frame_ = more_steps_per_frame(steps_per_frame_);
        break;
    case Command::slower:
        steps_per_frame_ = fewer_steps_per_frame(steps_per_frame_);
        break;
    case Command::reset:
        experiment_.reset();
        message_ = "back to step 0";
        break;
    case Command::cycle_left_end:
        cycle_end(Side::left);
        break;
    case Command::cycle_right_end:
        cycle_end(Side::right);
        break;
    case Command::cycle_source:
        cycle_source();
        break;
    case Command::cycle_waveform:
        cycle_waveform();
        break;
    case Command::toggle_materials:
        next_material_set();
        break;
    case Command::toggle_help:
        help_shown_ = !help_shown_;
        break;
    default:
        break;
    }
}

void Session::set_steps_per_frame(int steps) {
    steps_per_frame_ = std::clamp(steps, 1, max_steps_per_frame);
    changed();
}

void Session::step_once() {
    if (run().finished()) return;
    step_watched();
    changed();
}

// Every change of set-up restarts the run from step 0, and the watch with it; the view
// keeps the probes' values itself (the run keeps none).
void Session::step_watched() {
    if (run().step_count() == 0) energy_ = EnergyWatch{};
    experiment_.step();
    energy_.observe(run());
    histories_.record(run().probes(), run().step_count() - 1);
}

bool Session::advance_frame() {
    if (!running_) return false;
    const int before = run().step_count();
    for (int i = 0; i < steps_per_frame_ && !run().finished(); ++i)
        step_watched();
    if (run().finished()) {
        running_ = false;
        if (run().blown_up()) message_ = run().blow_up_message();
    }
    changed();
    return run().step_count() != before;
}

//-----------------------------------------------------------------------------
// [SECTION] Changes that restart the run
//-----------------------------------------------------------------------------

namespace {

bool any_poles(const Scenario& s) {
    return std::any_of(s.layers.begin(), s.layers.end(),
                       [](const Layer& l) { return !l.poles.empty(); });
}

} // namespace

// Layers with their poles, then (for a scenario with poles) the same layers without them,
// then no layers at all, then back.
void Session::next_material_set() {
    message_.clear(); // the status line says which set is shown
    if (!run().materials_on()) {
        experiment_.set_materials(true);
        return;
    }
    if (!poles_set_aside_.empty()) {
        std::vector<std::vector<Pole>> poles = std::move(poles_set_aside_);
        poles_set_aside_.clear();
        experiment_.set_materials(false);
        const auto restore = [&](Scenario& s) {
            for (std::size_t i = 0; i < s.layers.size() && i < poles.size(); ++i)
                s.layers[i].poles = poles[i];
        };
        if (std::optional<std::string> refused = experiment_.restart_with(restore))
            message_ = *refused;
        return;
    }
    if (!any_poles(run().scenario())) {
        experiment_.set_materials(false);
        return;
    }
    for (const Layer& l : run().scenario().layers)
        poles_set_aside_.push_back(l.poles);
    experiment_.restart_with([](Scenario& s) {
        for (Layer& l : s.layers)
            l.poles.clear();
    });
    message_ = "poles off: the layers keep eps_inf and sigma";
}

template <class Choice, class Next, class Apply>
void Session::cycle(Choice current, Next next, Apply apply, const char* what) {
    std::string refused;
    for (Choice choice = next(current); choice != current; choice = next(choice)) {
        const std::optional<std::string> problem = apply(choice);
        if (!problem) {
            message_ = refused.empty() ? std::string() : "skipped: " + refused;
            return;
        }
        refused +=
            std::string(refused.empty() ? "" : "; ") + name_of(choice) + " (" + *problem + ")";
    }
    message_ = std::string("no other ") + what + " fits this scenario: " + refused;
}

void Session::cycle_end(Side side) {
    const BoundarySettings& ends = run().scenario().boundary;
    cycle(
        side == Side::left ? ends.left : ends.right, next_boundary,
        [&](Boundary b) {
            return experiment_.restart_with([&](Scenario& s) {
                (side == Side::left ? s.boundary.left : s.boundary.right) = b;
            });
        },
        "boundary");
}

void Session::cycle_source() {
    cycle(
        run().scenario().source.type, next_source_type,
        [&](SourceType t) {
            return experiment_.restart_with([&](Scenario& s) { s.source.type = t; });
        },
        "source type");
}

void Session::cycle_waveform() {
    cycle(
        run().scenario().source.waveform, next_waveform,
        [&](Waveform w) {
            SourceSettings source = run().scenario().source;
            source.waveform = w;
            // A scenario written for a pulse gives no frequency: the grid's well-resolved
            // band ends at a sensible one.
            if (source.frequency_hz <= 0.0 && w != Waveform::gaussian)
                source.frequency_hz =
                    frequency_resolved_by(run().scenario(), resolved_cells_per_wavelength);
            return experiment_.restart_with([&](Scenario& s) { s.source = source; });
        },
        "waveform");
}

void Session::move_source(int cell) {
    if (const std::optional<std::string> problem =
            experiment_.restart_with([&](Scenario& s) { s.source.cell = cell; }))
        message_ = "the source stays: " + *problem;
    else
        message_ = "source moved to cell " + std::to_string(cell) + "; the run starts again";
    changed();
}

void Session::move_probe(std::size_t probe, int cell) {
    if (probe >= run().scenario().probes.size()) return;
    if (const std::optional<std::string> problem =
            experiment_.restart_with([&](Scenario& s) { s.probes[probe].cell = cell; }))
        message_ = "the probe stays: " + *problem;
    else
        message_ = "probe " + run().scenario().probes[probe].name + " moved to cell " +
                   std::to_string(cell) + "; the run starts again";
    changed();
}

} // namespace lab::view
