#include "lab/analysis/experiment.h"

#include <algorithm>
#include <cmath>
#include <limits>

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

std::optional<StackModel> stack_model(const Scenario& s, double frequency_hz) {
    if (!s.spectrum || s.layers.empty()) return std::nullopt;
    std::vector<Layer> layers = s.layers;
    std::sort(layers.begin(), layers.end(),
              [](const Layer& a, const Layer& b) { return a.first < b.first; });
    const int reflected = probe_cell(s, s.spectrum->reflected);
    const int transmitted = probe_cell(s, s.spectrum->transmitted);
    const Layer& last = layers.back();
    const bool half_space = last.last == s.grid.cells - 1 && transmitted >= last.first;
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

// Power flows as Y |E|^2: a transmitted probe inside a material sees its admittance.
double admittance_at(const Simulation& sim, int cell) {
    const Material m = sim.discretisation().materials.at(cell);
    return std::sqrt(m.eps_r / m.mu_r);
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
    const double exit_admittance = admittance_at(run_, trans.cell);
    const double floor = incident_floor * peak_of(incident.ez_spectrum);
    const double nan = std::numeric_limits<double>::quiet_NaN();

    out.frequency_hz = run_.frequencies();
    for (std::size_t k = 0; k < out.frequency_hz.size(); ++k) {
        const std::complex<double> e_in = incident.ez_spectrum[k];
        const bool measurable = std::abs(e_in) > 0.0 && std::abs(e_in) >= floor;
        const double reflected = std::norm(refl.ez_spectrum[k] - refl_norm.ez_spectrum[k]);
        const double transmitted = exit_admittance * std::norm(trans.ez_spectrum[k]);
        out.R.push_back(measurable ? reflected / std::norm(e_in) : nan);
        out.T.push_back(measurable ? transmitted / std::norm(e_in) : nan);
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
