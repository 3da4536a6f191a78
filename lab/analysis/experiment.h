// A scenario's run together with its normalisation run (the same scenario without
// materials), stepped side by side, and the spectra they give at any step:
//   R = |E_refl - E_refl,norm|^2 / |E_inc|^2,   T = Y_t |E_trans|^2 / |E_inc|^2,
// with E_inc the normalisation run's transform at the transmitted probe and Y_t the
// admittance of the transmitted probe's cell.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "lab/analysis/theory.h"
#include "lab/scenario/scenario.h"
#include "lab/solver/simulation.h"

namespace lab {

struct Spectra {
    std::vector<double> frequency_hz;
    // NaN where the incident spectrum is below incident_floor of its peak: too little
    // of the pulse there to measure.
    std::vector<double> R, T;
    std::optional<std::vector<Reflection>> theory; // when the layers form a stack
};

// Amplitude, relative to the incident spectrum's peak, below which R and T are not measured.
constexpr double incident_floor = 1e-3;

// The layers as an optical stack seen from the reflected probe, when they form one:
// vacuum around the source and the reflected probe, the transmitted probe behind the last
// layer (or inside it when it reaches the right end: a half-space).
struct StackModel {
    std::vector<OpticalLayer>
        layers; // at one frequency: conductivity and poles enter per frequency
    std::complex<double> exit_eps_r = 1.0, exit_mu_r = 1.0;
};
std::optional<StackModel> stack_model(const Scenario& scenario, double frequency_hz);

// The highest frequency whose wavelength spans at least this many cells in every material
// of the scenario: above it numerical dispersion grows (see the README's slab table).
double frequency_resolved_by(const Scenario& scenario, double cells_per_wavelength);

class Experiment {
  public:
    explicit Experiment(const Scenario& scenario);

    void step(); // both runs
    void reset();
    void keep_history(bool keep); // of both runs' probes, see Simulation

    Simulation& run() { return run_; }
    const Simulation& run() const { return run_; }
    // The normalisation run; nothing without a [spectrum] section.
    const Simulation* normalisation() const { return normalisation_.get(); }
    bool has_spectra() const { return normalisation_ != nullptr; }
    Spectra spectra() const; // from the transforms so far; empty without a spectrum

    // A change that restarts both runs (see Simulation::restart_with); materials only touch
    // the run itself, and the normalisation run starts again beside it.
    std::optional<std::string> restart_with(const std::function<void(Scenario&)>& change);
    void set_materials(bool on);

  private:
    Simulation run_;
    std::unique_ptr<Simulation> normalisation_;
};

} // namespace lab
