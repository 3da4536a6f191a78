// Set-ups that run but measure less well than they seem to: abc ends off S = 1, a pulse
// that starts from a jump, a run that ends while the stack still rings, and spectra outside
// what energy allows. Each is a message for standard error or the view's status line.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "lab/analysis/experiment.h"
#include "lab/scenario/scenario.h"
#include "lab/solver/field_energy.h"
#include "lab/solver/simulation.h"

namespace lab {

// Energy left in the grid, relative to the peak that passed, above which a spectrum has
// not settled.
constexpr double energy_left_limit = 1e-6;
// A pulse whose centre lies fewer widths than this after step 0 starts from a jump.
constexpr double pulse_delay_in_widths = 3.0;
// R, T and R + T may stray this far outside 0..1.
constexpr double spectrum_tolerance = 1e-3;

// Warnings known before the run: abc ends at S < 1 under a spectrum, a jump at step 0.
std::vector<std::string> setup_warnings(const Scenario& scenario);

// Follows the energy in the grid through a run, cheaply (every few steps), to say at the
// end whether the ringing has died.
class EnergyWatch {
  public:
    // After each step, or at least after every step that is a multiple of interval_steps:
    // only those are looked at, and the whole line must be in step then.
    void observe(const Simulation& run);
    // At the end of a spectrum's run: the energy left against the peak, with the steps
    // that would do, when it is above energy_left_limit.
    std::optional<std::string> warning(const Simulation& run) const;
    static constexpr int interval_steps = 16; // between the looks at the energy

  private:
    double peak_ = 0.0;
    double earlier_max_ = 0.0; // largest energy in the third quarter of the run
    double later_max_ = 0.0;   // and in the last
};

// R or T outside 0..1, or R + T above 1 (losses only lower it): the worst value, and the
// likeliest cause among the warnings found so far (ringing when the run ended too soon).
std::optional<std::string> spectra_warning(const Spectra& spectra, const Scenario& scenario,
                                           bool still_ringing);

// The one warning a live view shows in its status line: the set-up's first, else, once the
// run has finished, the energy still in the grid (when a watch followed the run), else the
// spectra's.
std::optional<std::string> first_warning(const Experiment& experiment,
                                         const EnergyWatch* energy = nullptr);

} // namespace lab
