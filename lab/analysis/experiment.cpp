#include "lab/analysis/experiment.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "lab/analysis/grid_flux.h"
#include "lab/scenario/constants.h"

namespace lab {

namespace {

const ProbeRecord& probe_named(const Simulation& sim, const std::string& name) {
    const std::vector<ProbeRecord>& probes = sim.probes();
    return *std::find_if(probes.begin(), probes.end(),
                         [&](const ProbeRecord& p) { return p.name == name; });
}

int probe_cell(const Scenario& s, const std::string& name) {
    for (const Probe& p : s.probes)
        if (p.name == name) return p.cell;
    return -1;
}

} // namespace

//-----------------------------------------------------------------------------
// [SECTION] The layers as a stack
//-----------------------------------------------------------------------------

namespace {

std::vector<Layer> layers_in_order(const Scenario& s) {
    std::vector<Layer> layers = s.layers;
    std::sort(layers.begin(), layers.end(),
              [](const Layer& a, const Layer& b) { return a.first < b.first; });
    return layers;
}

// The last layer reaches the right end and holds the transmitted probe: T is measured in it.
bool ends_in_half_space(const Scenario& s, const Layer& last) {
    return last.last == s.grid.cells - 1 && probe_cell(s, s.spectrum->transmitted) >= last.first;
}

} // namespace

std::optional<StackFaces> stack_faces(const Scenario& s) {
    if (!s.spectrum || s.layers.empty()) return std::nullopt;
    const std::vector<Layer> layers = layers_in_order(s);
    const Layer& last = layers.back();
    const double dx = s.grid.cell_size_m;
    const double back_cell = ends_in_half_space(s, last) ? last.first - 0.5 : last.last + 0.5;
    return StackFaces{(layers.front().first - 0.5) * dx, back_cell * dx};
}

std::optional<StackModel> stack_model(const Scenario& s, double frequency_hz) {
    if (!s.spectrum || s.layers.empty()) return std::nullopt;
    const std::vector<Layer> layers = layers_in_order(s);
    const int reflected = probe_cell(s, s.spectrum->reflected);
    const int transmitted = probe_cell(s, s.spectrum->transmitted);
    const Layer& last = layers.back();
    const bool half_space = ends_in_half_space(s, last);
    const bool before = std::max(reflected, s.source.cell) < layers.front().first;
    if (!before || (!half_space && transmitted <= last.last)) return std::nullopt;
    // T decays inside a conducting or dispersive (always lossy) exit half-space: the probe
    // there does not measure what enters it.
    if (half_space && (last.sigma_s_per_m > 0.0 || !last.poles.empty())) return std::nullopt;

    StackModel model;
    const double dx = s.grid.cell_size_m;
    int previous_end = layers.front().first; // vacuum gaps between layers are layers too
    for (std::size_t i = 0; i + (half_space ? 1 : 0) < layers.size(); ++i) {
        const Layer& l = layers[i];
        if (l.first > previous_end)
            model.layers.push_back({1.0, 1.0, (l.first - previous_end) * dx});
        model.layers.push_back(
            {layer_permittivity(l, frequency_hz), l.mu_r, (l.last - l.first + 1) * dx});
        previous_end = l.last + 1;
    }
    if (half_space) {
        if (last.first > previous_end)
            model.layers.push_back({1.0, 1.0, (last.first - previous_end) * dx});
        model.exit_eps_r = last.eps_r;
        model.exit_mu_r = last.mu_r;
    }
    return model;
}

double frequency_resolved_by(const Scenario& s, double cells_per_wavelength) {
    double index = 1.0;
    for (const Layer& l : s.layers)
        index = std::max(index, std::sqrt(l.eps_r * l.mu_r));
    return c0 / (cells_per_wavelength * index * s.grid.cell_size_m);
}

//-----------------------------------------------------------------------------
// [SECTION] Two runs side by side
//-----------------------------------------------------------------------------

Experiment::Experiment(const Scenario& scenario) : run_(scenario) {
    if (scenario.spectrum) normalisation_ = std::make_unique<Simulation>(scenario, false);
}

void Experiment::step() {
    run_.step();
    if (normalisation_) normalisation_->step();
}

void Experiment::advance(int count, const std::function<void()>& after_each_step) {
    const int first = run_.step_count();
    run_.advance(count, after_each_step);
    // The steps the run took, the one it blew up in included, as step() takes them.
    if (normalisation_) normalisation_->advance(run_.step_count() - first);
}

void Experiment::reset() {
    run_.reset();
    if (normalisation_) normalisation_->reset();
}

namespace {

double peak_of(const std::vector<std::complex<double>>& spectrum) {
    double peak = 0.0;
    for (const std::complex<double>& x : spectrum)
        peak = std::max(peak, std::abs(x));
    return peak;
}

// Where the probes sit and what the waves cross between them and the stack's faces.
struct Probed {
    double x_reflected_m, x_transmitted_m;
    Material exit; // of the transmitted probe's cell
    std::optional<StackFaces> faces;
    double dx_m, courant;
};

// One frequency of the transforms: the incident wave at the transmitted probe (from the
// normalisation run), the reflected wave at the reflected probe, the transmitted wave.
struct Amplitudes {
    std::complex<double> incident, reflected, transmitted;
};

struct Measured {
    double R, T, phase_r_rad, phase_t_rad;
};

Measured measure(const Probed& p, double frequency_hz, const Amplitudes& a) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double flux_vacuum = grid_flux_per_e_squared(Material{}, frequency_hz, p.dx_m, p.courant);
    const double flux_exit = grid_flux_per_e_squared(p.exit, frequency_hz, p.dx_m, p.courant);
    const double incident = std::norm(a.incident);
    Measured m{std::norm(a.reflected) / incident,
               flux_vacuum > 0.0 ? flux_exit / flux_vacuum * std::norm(a.transmitted) / incident
                                 : nan,
               nan, nan};
    const double exit_index = std::sqrt(p.exit.eps_r * p.exit.mu_r);
    const std::optional<double> k0 =
        grid_wavenumber_rad_per_m(frequency_hz, 1.0, p.dx_m, p.courant);
    const std::optional<double> k_exit =
        grid_wavenumber_rad_per_m(frequency_hz, exit_index, p.dx_m, p.courant);
    if (!p.faces || !k0 || !k_exit) return m;
    // Carried to a face along its way: a wave going right is exp(-i k x), going left exp(i k x).
    const double front = p.faces->front_m, back = p.faces->back_m;
    const std::complex<double> incident_front =
        a.incident * std::polar(1.0, *k0 * (p.x_transmitted_m - front));
    const std::complex<double> reflected_front =
        a.reflected * std::polar(1.0, *k0 * (front - p.x_reflected_m));
    const std::complex<double> transmitted_back =
        a.transmitted * std::polar(1.0, *k_exit * (p.x_transmitted_m - back));
    m.phase_r_rad = std::arg(reflected_front / incident_front);
    m.phase_t_rad = std::arg(transmitted_back / incident_front);
    return m;
}

std::optional<std::vector<Reflection>> theory_for(const Scenario& s,
                                                  const std::vector<double>& frequencies) {
    std::vector<Reflection> theory;
    for (double f : frequencies) {
        const std::optional<StackModel> model = stack_model(s, f);
        if (!model) return std::nullopt;
        theory.push_back(stack_reflection(model->layers, f, model->exit_eps_r, model->exit_mu_r));
    }
    return theory;
}

} // namespace

void Experiment::keep_history(bool keep) {
    run_.keep_history(keep);
    if (normalisation_) normalisation_->keep_history(keep);
}

Spectra Experiment::spectra() const {
    Spectra out;
    if (!normalisation_) return out;
    const SpectrumSettings& settings = *run_.scenario().spectrum;
    const ProbeRecord& refl = probe_named(run_, settings.reflected);
    const ProbeRecord& refl_norm = probe_named(*normalisation_, settings.reflected);
    const ProbeRecord& trans = probe_named(run_, settings.transmitted);
    const ProbeRecord& incident = probe_named(*normalisation_, settings.transmitted);
    const Discretisation& grid = run_.discretisation();
    const Probed probed{refl.cell * grid.dx_m,
                        trans.cell * grid.dx_m,
                        grid.materials.at(trans.cell),
                        stack_faces(run_.scenario()),
                        grid.dx_m,
                        grid.courant};
    const double floor = incident_floor * peak_of(incident.ez_spectrum);
    const double nan = std::numeric_limits<double>::quiet_NaN();

    out.frequency_hz = run_.frequencies();
    for (std::size_t k = 0; k < out.frequency_hz.size(); ++k) {
        const Amplitudes a{incident.ez_spectrum[k], refl.ez_spectrum[k] - refl_norm.ez_spectrum[k],
                           trans.ez_spectrum[k]};
        const bool measurable = std::abs(a.incident) > 0.0 && std::abs(a.incident) >= floor;
        const Measured m = measure(probed, out.frequency_hz[k], a);
        out.R.push_back(measurable ? m.R : nan);
        out.T.push_back(measurable ? m.T : nan);
        out.phase_r_rad.push_back(measurable ? m.phase_r_rad : nan);
        out.phase_t_rad.push_back(measurable ? m.phase_t_rad : nan);
    }
    if (run_.materials_on()) out.theory = theory_for(run_.scenario(), out.frequency_hz);
    return out;
}

//-----------------------------------------------------------------------------
// [SECTION] Changes
//-----------------------------------------------------------------------------

std::optional<std::string> Experiment::restart_with(const std::function<void(Scenario&)>& change) {
    if (std::optional<std::string> refused = run_.restart_with(change)) return refused;
    if (normalisation_) normalisation_->restart_with(change);
    return std::nullopt;
}

void Experiment::set_materials(bool on) {
    run_.set_materials(on);
    if (normalisation_) normalisation_->reset(); // both start again together
}

} // namespace lab
