// The state of the live view apart from the window: the experiment, running or paused,
// steps per frame, the help, the last message, and whether the picture must be drawn
// again. Keys arrive here as commands; what needs the window (exports, the recording,
// quitting) comes back as an effect for the window to carry out.
#pragma once

#include <string>
#include <vector>

#include "lab/analysis/experiment.h"
#include "lab/analysis/run_warnings.h"
#include "lab/view/controls.h"
#include "lab/view/probe_histories.h"

namespace lab::view {

class Session {
  public:
    explicit Session(const Scenario& scenario);

    Effect command(Command command);
    // The steps of one frame while running; false when nothing was stepped. A run that
    // reaches its last step (or blows up) pauses.
    bool advance_frame();

    // Moves the source or a probe to a cell, restarting the run; refused moves leave
    // everything as it was and say why in the message.
    void move_source(int cell);
    void move_probe(std::size_t probe, int cell);

    Experiment& experiment() { return experiment_; }
    const Experiment& experiment() const { return experiment_; }
    const Simulation& run() const { return experiment_.run(); }
    // The energy in the grid through the run so far, for the warning of a run ending too soon.
    const EnergyWatch& energy_watch() const { return energy_; }
    // The probes' values as the view keeps them (the run itself keeps none).
    const ProbeHistories& histories() const { return histories_; }
    bool running() const { return running_; }
    int steps_per_frame() const { return steps_per_frame_; }
    // Any count from 1 to max_steps_per_frame, off the ladder too (a recording's interval).
    void set_steps_per_frame(int steps);
    bool help_shown() const { return help_shown_; }
    const std::string& message() const { return message_; }
    void say(std::string message);

    // Set by every change that shows; cleared once the picture is drawn.
    bool needs_redraw() const { return needs_redraw_; }
    void drawn() { needs_redraw_ = false; }

  private:
    void change(Command command);
    void step_once();
    void step_watched();
    void changed();
    void cycle_end(Side side);
    void cycle_source();
    void cycle_waveform();
    void next_material_set();
    // Applies the first choice after the current one that the scenario checks accept.
    template <class Choice, class Next, class Apply>
    void cycle(Choice current, Next next, Apply apply, const char* what);

    Experiment experiment_;
    EnergyWatch energy_;
    ProbeHistories histories_;
    bool running_ = false;
    int steps_per_frame_ = 1;
    bool help_shown_ = false;
    std::string message_;
    bool needs_redraw_ = true;
    // The layers' poles while the view shows them without (the m key), else empty.
    std::vector<std::vector<Pole>> poles_set_aside_;
};

} // namespace lab::view
