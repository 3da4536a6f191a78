#include "lab/analysis/run_warnings.h"

#include "lab/solver/field_energy.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "lab/scenario/constants.h"
#include "lab/solver/field_energy.h"

namespace lab {

namespace {

constexpr double ghz_per_hz = 1e-9;
// The decay is measured between the largest energies of two windows late in the run: the
// third and the last quarter. Maxima, so that the ringing's beat does not fool it.
constexpr double earlier_window_from = 0.5;
constexpr double later_window_from = 0.75;
// Energy that falls by less than this factor from one window to the next is not decaying.
constexpr double least_decay = 2.0;
// Cells per wavelength below which the grid's dispersion is a likely cause.
constexpr double dispersion_cells_per_wavelength = 40.0;

std::string format(const char* pattern, double a, double b = 0.0, double c = 0.0) {
    char text[300];
    std::snprintf(text, sizeof text, pattern, a, b, c);
    return text;
}

bool abc_end_off_magic_step(const Scenario& s) {
    const bool abc = s.boundary.left == Boundary::abc || s.boundary.right == Boundary::abc;
    return s.spectrum && abc && s.grid.courant < 1.0;
}

// Width in steps of the bell the waveform's envelope makes; 0 for a sine.
double pulse_width_steps(const Scenario& s) {
    const SourceSettings& src = s.source;
    switch (src.waveform) {
    case Waveform::gaussian:
    case Waveform::modulated:
        return src.width_steps;
    case Waveform::ricker: // exp(-(pi f (n - delay) dt)^2)
        return 1.0 / (pi * src.frequency_hz * time_step_s(s.grid.courant, s.grid.cell_size_m));
    case Waveform::sine:
        break;
    }
    return 0.0;
}

bool starts_from_jump(const Scenario& s) {
    const double width = pulse_width_steps(s);
    return width > 0.0 && s.source.delay_steps < pulse_delay_in_widths * width;
}

} // namespace

//-----------------------------------------------------------------------------
// [SECTION] Before the run
//-----------------------------------------------------------------------------

std::vector<std::string> setup_warnings(const Scenario& s) {
    std::vector<std::string> warnings;
    if (abc_end_off_magic_step(s)) {
        const double S = s.grid.courant;
        warnings.push_back(format("abc ends are exact only at courant = 1; at S = %g they "
                                  "reflect |r| = (1 - S) / (1 + S) = %.2f at low frequencies, "
                                  "and R and T carry it: use mur or pml ends",
                                  S, (1.0 - S) / (1.0 + S)));
    }
    if (starts_from_jump(s)) {
        const double width = pulse_width_steps(s);
        const double enough = std::ceil(pulse_delay_in_widths * width);
        warnings.push_back(format("the pulse starts from a jump: delay %g is below %g widths ",
                                  s.source.delay_steps, pulse_delay_in_widths) +
                           format("(%g steps), so its spectrum carries the step; use delay >= %g",
                                  enough, enough));
    }
    return warnings;
}

//-----------------------------------------------------------------------------
// [SECTION] Energy left in the grid
//-----------------------------------------------------------------------------

namespace {

bool closed(Boundary end) { return end == Boundary::pec || end == Boundary::pmc; }

std::string why_not_decaying(const Scenario& s) {
    if (starts_from_jump(s))
        return "the pulse's jump leaves a ripple of the shortest wavelength that no end "
               "absorbs; raise delay";
    if (closed(s.boundary.left) && closed(s.boundary.right))
        return "pec and pmc ends hold it; open them with mur, abc or pml";
    return "the pulse is still in the grid; run several times more steps";
}

} // namespace

void EnergyWatch::observe(const Simulation& run) {
    const int step = run.step_count();
    if (step % interval_steps != 0) return;
    const double energy = field_energy_j_per_m2(run);
    peak_ = std::max(peak_, energy);
    const double fraction = static_cast<double>(step) / run.total_steps();
    if (fraction >= later_window_from)
        later_max_ = std::max(later_max_, energy);
    else if (fraction >= earlier_window_from)
        earlier_max_ = std::max(earlier_max_, energy);
}

std::optional<std::string> EnergyWatch::warning(const Simulation& run) const {
    const Scenario& s = run.scenario();
    if (!s.spectrum || s.source.waveform == Waveform::sine || peak_ <= 0.0) return std::nullopt;
    const double left = field_energy_j_per_m2(run) / peak_;
    if (!(left > energy_left_limit)) return std::nullopt;
    const std::string head = format("the run ends with %.2g of the peak energy still in the "
                                    "grid (above %g), so the spectra have not settled",
                                    left, energy_left_limit);
    if (!(earlier_max_ > least_decay * later_max_))
        return head + "; the energy is hardly decaying: " + why_not_decaying(s);
    // Exponential decay between the windows' maxima, a quarter of the run apart.
    const double span = (later_window_from - earlier_window_from) * run.total_steps();
    const double tau_steps = span / std::log(earlier_max_ / later_max_);
    const double more = tau_steps * std::log(later_max_ / (energy_left_limit * peak_));
    return head + format("; about %.0f steps would do", std::ceil(run.step_count() + more));
}

//-----------------------------------------------------------------------------
// [SECTION] Spectra outside what energy allows
//-----------------------------------------------------------------------------

namespace {

std::string likeliest_cause(const Scenario& s, double frequency_hz, bool still_ringing) {
    if (abc_end_off_magic_step(s)) return "the abc ends at S < 1: use mur or pml";
    if (starts_from_jump(s)) return "the pulse starting from a jump: raise delay";
    if (still_ringing) return "the run ends before the ringing has died: give it more steps";
    const double resolved = frequency_resolved_by(s, dispersion_cells_per_wavelength);
    if (frequency_hz > resolved)
        return format("the grid's dispersion above %.3g GHz (under %g cells per wavelength): "
                      "use smaller cells",
                      resolved * ghz_per_hz, dispersion_cells_per_wavelength);
    return "too little of the pulse at that frequency: give the pulse a smaller width";
}

} // namespace

std::optional<std::string> spectra_warning(const Spectra& spectra, const Scenario& s,
                                           bool still_ringing) {
    const double low = -spectrum_tolerance, high = 1.0 + spectrum_tolerance;
    double worst_excess = 0.0, worst_hz = 0.0;
    std::string worst;
    for (std::size_t k = 0; k < spectra.R.size(); ++k) {
        const double f = spectra.frequency_hz[k] * ghz_per_hz;
        const struct {
            const char* name;
            double value;
            bool checked;
        } values[] = {{"R", spectra.R[k], true},
                      {"T", spectra.T[k], true},
                      // Losses only lower R + T: above 1 it is wrong with any layers.
                      {"R + T", spectra.R[k] + spectra.T[k], true}};
        for (const auto& v : values) {
            if (!v.checked || std::isnan(v.value)) continue;
            const double excess = std::max(low - v.value, v.value - high);
            if (excess <= worst_excess) continue;
            worst_excess = excess;
            worst_hz = spectra.frequency_hz[k];
            worst = std::string(v.name) + format(" = %.4g at %.4g GHz", v.value, f);
        }
    }
    if (worst.empty()) return std::nullopt;
    return worst + " lies outside 0..1" +
           format(" (by more than %g); likeliest cause: ", spectrum_tolerance) +
           likeliest_cause(s, worst_hz, still_ringing);
}

std::optional<std::string> first_warning(const Experiment& e, const EnergyWatch* energy) {
    const Simulation& run = e.run();
    const std::vector<std::string> setup = setup_warnings(run.scenario());
    if (!setup.empty()) return setup.front();
    if (!e.has_spectra() || !run.finished() || run.blown_up()) return std::nullopt;
    if (energy != nullptr)
        if (std::optional<std::string> ringing = energy->warning(run)) return ringing;
    return spectra_warning(e.spectra(), run.scenario(), false);
}

} // namespace lab
