// A scenario's run together with its normalisation run (the same scenario without
// materials), stepped side by side, and the spectra they give at any step:
//   R = |E_refl - E_refl,norm|^2 / |E_inc|^2,   T = F_t |E_trans|^2 / (F_0 |E_inc|^2),
// with E_inc the normalisation run's transform at the transmitted probe and F the grid's
// power flux per |E|^2 (see grid_flux.h) in the transmitted probe's cell and in vacuum.
// Phases are those of r and t at the stack's faces (StackFaces), the transforms carried
// there along the grid's own wavenumber.
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
    // arg r and arg t in radians, (-pi, pi], with the probes' exp(-i 2 pi f t) transform;
    // NaN where R and T are, or where there are no layers to give the faces.
    std::vector<double> phase_r_rad, phase_t_rad;
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

// The reference planes of r and t: the front face of the first layer (half a cell before its
// first Ez node) and the back face of the last (half a cell after its last), or the front
// face of a half-space the transmitted probe sits in. Nothing without layers or spectrum.
struct StackFaces {
    double front_m = 0.0, back_m = 0.0; // x from Ez node 0
};
std::optional<StackFaces> stack_faces(const Scenario& scenario);

// The highest frequency whose wavelength spans at least this many cells in every material
// of the scenario: above it numerical dispersion grows (see the README's slab table).
double frequency_resolved_by(const Scenario& scenario, double cells_per_wavelength);

class Experiment {
  public:
    explicit Experiment(const Scenario& scenario);

    void step(); // both runs
    // count steps of both runs, as count calls of step() would take them, in blocks where
    // the grids allow (Simulation::advance): after_each_step is called after each step of the
    // run, when its probes and count are those of that step; the normalisation run then
    // follows to the same step, and both grids are whole on return.
    void advance(int count, const std::function<void()>& after_each_step = {});
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
