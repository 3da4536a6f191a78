#include "lab/scenario/scenario_check.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <map>
#include <set>

#include "lab/scenario/discretisation.h"
#include "lab/scenario/finite_checks.h"
#include "lab/scenario/keys.h"
#include "lab/scenario/number_text.h"
#include "lab/scenario/placement_check.h"
#include "lab/scenario/pole_limits.h"

namespace lab {

namespace {

using Problem = std::optional<ScenarioProblem>;

// Cells that must stay between the pml ends.
constexpr long long min_room_cells = 3;

Problem problem(const std::string& key, const std::string& message) {
    return ScenarioProblem{key, message};
}

std::string text(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
}

bool positive(double value) { return std::isfinite(value) && value > 0.0; }

//-----------------------------------------------------------------------------
// [SECTION] Grid and ends
//-----------------------------------------------------------------------------

Problem check_grid(const GridSettings& grid) {
    if (grid.cells < 3 || grid.cells > max_cells)
        return problem(key::at(key::grid, key::cells),
                       "cells must be from 3 to " + std::to_string(max_cells));
    if (!positive(grid.cell_size_m))
        return problem(key::at(key::grid, key::cell_size),
                       "cell_size must be a positive length in metres");
    if (!positive(grid.courant))
        return problem(key::at(key::grid, key::courant), "courant (S) must be greater than 0");
    if (grid.courant > 1.0 && !grid.allow_unstable)
        return problem(key::at(key::grid, key::courant),
                       "courant " + exact_text(grid.courant) +
                           " is above 1 and the run would blow up; set "
                           "allow_unstable = true in [grid] to watch it");
    if (grid.steps < 1 || grid.steps > max_steps)
        return problem(key::at(key::grid, key::steps),
                       "steps must be from 1 to " + std::to_string(max_steps));
    return std::nullopt;
}

Problem check_ends(const Scenario& s) {
    const bool any_pml = s.boundary.left == Boundary::pml || s.boundary.right == Boundary::pml;
    if (any_pml && s.boundary.pml_cells < 1)
        return problem(key::at(key::boundary, key::pml_cells), "pml_cells must be at least 1");
    // In 64 bits: two ends of up to 2^31 - 1 cells each do not fit an int.
    const long long cells = s.grid.cells;
    const long long room =
        cells - static_cast<long long>(s.pml_cells(Side::left)) - s.pml_cells(Side::right);
    if (room >= min_room_cells) return std::nullopt;
    const int pml_ends = (s.boundary.left == Boundary::pml) + (s.boundary.right == Boundary::pml);
    const long long most = (cells - min_room_cells) / pml_ends;
    const std::string taken =
        room >= 0 ? "leave " + std::to_string(room) + " of " : "take more than the ";
    const std::string allowed = most >= 1 ? "; pml_cells must be from 1 to " + std::to_string(most)
                                          : "; the grid is too short for a pml end";
    return problem(key::at(key::boundary, key::pml_cells),
                   "the pml ends " + taken + std::to_string(cells) + " cells; at least " +
                       std::to_string(min_room_cells) + " must stay outside them" + allowed);
}

//-----------------------------------------------------------------------------
// [SECTION] Source
//-----------------------------------------------------------------------------

bool in_a_layer(const Discretisation& d, int cell) {
    return d.materials.layer_at(cell).has_value();
}

Problem check_source_cell(const Scenario& s, const Discretisation& d) {
    const SourceSettings& src = s.source;
    const int last = s.grid.cells - 1;
    if (src.cell < 0 || src.cell > last)
        return problem(key::at(key::source, key::cell), "source cell " + std::to_string(src.cell) +
                                                            " is outside the grid (0.." +
                                                            std::to_string(last) + ")");
    const bool tfsf = src.type == SourceType::tfsf;
    // A tfsf source also corrects the field one cell to its left.
    const int lowest = s.pml_cells(Side::left) + (tfsf ? 1 : 0);
    const int highest = last - s.pml_cells(Side::right);
    if (tfsf && src.cell == 0 && lowest == 1)
        return problem(key::at(key::source, key::cell),
                       "a tfsf source also corrects the field one cell to its left, so it "
                       "cannot sit at cell 0; allowed: 1.." +
                           std::to_string(highest));
    if (src.cell < lowest || src.cell > highest)
        return problem(key::at(key::source, key::cell),
                       "source cell " + std::to_string(src.cell) +
                           " lies inside a pml or at its edge; allowed: " + std::to_string(lowest) +
                           ".." + std::to_string(highest));
    if (tfsf && (in_a_layer(d, src.cell) || in_a_layer(d, src.cell - 1)))
        return problem(key::at(key::source, key::cell),
                       "a tfsf source must sit in vacuum: cells " + std::to_string(src.cell - 1) +
                           " and " + std::to_string(src.cell) + " may not be in a layer");
    return std::nullopt;
}

Problem check_waveform(const Scenario& s, const Discretisation& d) {
    const SourceSettings& src = s.source;
    const Waveform w = src.waveform;
    if (!std::isfinite(src.delay_steps))
        return problem(key::at(key::source, key::delay), "delay must be a finite number of steps");
    if ((w == Waveform::gaussian || w == Waveform::modulated) && !positive(src.width_steps))
        return problem(key::at(key::source, key::width),
                       "width must be a positive number of steps");
    if (w == Waveform::gaussian) return std::nullopt;
    const double nyquist_hz = 0.5 / d.dt_s;
    if (!positive(src.frequency_hz) || src.frequency_hz > nyquist_hz)
        return problem(key::at(key::source, key::frequency),
                       std::string("a ") + name_of(w) +
                           " waveform needs a frequency in Hz above 0 and "
                           "at most " +
                           text(nyquist_hz) + " (half the step rate)");
    if (!std::isfinite(src.ramp_periods) || src.ramp_periods < 0.0)
        return problem(key::at(key::source, key::ramp_periods), "ramp_periods must be 0 or more");
    return std::nullopt;
}

//-----------------------------------------------------------------------------
// [SECTION] Layers and probes
//-----------------------------------------------------------------------------

Problem check_layer(const Scenario& s, const Discretisation& d, std::size_t i) {
    const Layer& l = s.layers[i];
    const int last = s.grid.cells - 1;
    const std::string range = " (0.." + std::to_string(last) + ")";
    if (l.first < 0 || l.first > last)
        return problem(key::at(key::layer, i, key::first),
                       "first cell " + std::to_string(l.first) + " is outside the grid" + range);
    if (l.last < 0 || l.last > last)
        return problem(key::at(key::layer, i, key::last),
                       "last cell " + std::to_string(l.last) + " is outside the grid" + range);
    if (l.first > l.last)
        return problem(key::at(key::layer, i, key::first), "first (" + std::to_string(l.first) +
                                                               ") is after last (" +
                                                               std::to_string(l.last) + ")");
    if (!positive(l.eps_r)) return problem(key::at(key::layer, i, key::eps_r), "eps_r must be > 0");
    if (!positive(l.mu_r)) return problem(key::at(key::layer, i, key::mu_r), "mu_r must be > 0");
    if (!std::isfinite(l.sigma_s_per_m) || l.sigma_s_per_m < 0.0)
        return problem(key::at(key::layer, i, key::sigma), "sigma must be 0 or more (S/m)");
    // Light in the layer moves S / sqrt(eps_r mu_r) cells per step; above 1 the run blows up.
    if (d.courant_in_layer(i) > 1.0 && !s.grid.allow_unstable)
        return problem(key::at(key::layer, i, key::eps_r),
                       "eps_r * mu_r below S^2 = " + text(s.grid.courant * s.grid.courant) +
                           " makes the run unstable (allow_unstable = true to watch it)");
    return std::nullopt;
}

// Layers placed so far by first cell; none of them overlap, so the one that starts last at
// or before a new layer's end is the only one that may overlap it.
using PlacedLayers = std::map<int, std::size_t>;

Problem check_overlap(const Scenario& s, PlacedLayers& placed, std::size_t i) {
    const Layer& l = s.layers[i];
    const auto after = placed.upper_bound(l.last);
    if (after != placed.begin()) {
        const std::size_t j = std::prev(after)->second;
        if (s.layers[j].last >= l.first)
            return problem(key::at(key::layer, i, key::first),
                           "layer " + std::to_string(i + 1) + " overlaps layer " +
                               std::to_string(j + 1) + " (cells " +
                               std::to_string(s.layers[j].first) + ".." +
                               std::to_string(s.layers[j].last) + ")");
    }
    placed.emplace(l.first, i);
    return std::nullopt;
}

//-----------------------------------------------------------------------------
// [SECTION] Poles of a layer
//-----------------------------------------------------------------------------

// The key of the parameter that sets a pole's speed: what its resolution is reported at.
const char* rate_key(PoleKind kind) {
    switch (kind) {
    case PoleKind::debye:
        return key::relaxation_time;
    case PoleKind::drude:
        return key::plasma_frequency;
    default:
        return key::resonance_frequency;
    }
}

// Whether a pole of this kind has the parameter at all (the others are not read).
bool takes_parameter(PoleKind kind, const char* field) {
    const std::string f = field;
    switch (kind) {
    case PoleKind::debye:
        return f == key::relaxation_time;
    case PoleKind::drude:
        return f == key::plasma_frequency || f == key::collision_frequency;
    default:
        return f == key::resonance_frequency || f == key::damping_frequency;
    }
}

Problem check_pole_values(const Pole& p, std::size_t layer, std::size_t i) {
    const auto at = [&](const char* field) { return key::pole_at(layer, i, field); };
    const bool has_strength = p.kind != PoleKind::drude;
    if (has_strength && (!std::isfinite(p.delta_eps) || p.delta_eps < 0.0))
        return problem(at(key::delta_eps), "delta_eps must be 0 or more");
    const std::pair<const char*, double> positives[] = {
        {key::relaxation_time, p.relaxation_time_s},
        {key::plasma_frequency, p.plasma_frequency_hz},
        {key::collision_frequency, p.collision_frequency_hz},
        {key::resonance_frequency, p.resonance_frequency_hz},
        {key::damping_frequency, p.damping_frequency_hz}};
    const std::string unit_of_time = key::relaxation_time;
    for (const auto& [field, value] : positives) {
        const bool read = takes_parameter(p.kind, field);
        if (read && !positive(value))
            return problem(at(field), std::string(field) + " must be above 0 (" +
                                          (field == unit_of_time ? "s" : "Hz") + ")");
    }
    return std::nullopt;
}

Problem check_poles(const Scenario& s, const Discretisation& d, std::size_t layer) {
    const Layer& l = s.layers[layer];
    Layer so_far = l;
    so_far.poles.clear();
    for (std::size_t i = 0; i < l.poles.size(); ++i) {
        const Pole& p = l.poles[i];
        if (Problem bad = check_pole_values(p, layer, i)) return bad;
        const double steps = steps_per_pole_period(p, d.dt_s);
        if (steps < min_steps_per_pole_period)
            return problem(key::pole_at(layer, i, rate_key(p.kind)),
                           "the time step resolves this " + std::string(name_of(p.kind)) +
                               " pole by " + text(steps) + " steps per period; at least " +
                               text(min_steps_per_pole_period) +
                               " are needed (a smaller cell_size or courant)");
        so_far.poles.push_back(p);
        const double s_squared = s.grid.courant * s.grid.courant * l.mu_r;
        if (p.kind != PoleKind::debye && !s.grid.allow_unstable &&
            s_squared > nyquist_permittivity(so_far, d.dt_s))
            return problem(key::pole_at(layer, i, rate_key(p.kind)),
                           "with this pole the layer's permittivity at half the step rate, " +
                               text(nyquist_permittivity(so_far, d.dt_s)) +
                               ", is below S^2 mu_r = " + text(s_squared) +
                               " and the run would blow up; lower courant");
    }
    return std::nullopt;
}

bool usable_name(const std::string& name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.';
    });
}

Problem check_probes(const Scenario& s) {
    std::set<std::string> seen;
    for (std::size_t i = 0; i < s.probes.size(); ++i) {
        const Probe& p = s.probes[i];
        if (!usable_name(p.name))
            return problem(key::at(key::probe, i, key::name),
                           "probe name '" + p.name +
                               "' must be ASCII letters (a-z, A-Z), digits, _ . or -");
        if (!seen.insert(p.name).second)
            return problem(key::at(key::probe, i, key::name),
                           "probe name '" + p.name + "' is used twice");
        if (p.cell < 0 || p.cell >= s.grid.cells)
            return problem(key::at(key::probe, i, key::cell),
                           "probe cell " + std::to_string(p.cell) + " is outside the grid (0.." +
                               std::to_string(s.grid.cells - 1) + ")");
    }
    return std::nullopt;
}

Problem check_spectrum(const Scenario& s, const Discretisation& d) {
    if (!s.spectrum) return std::nullopt;
    const SpectrumSettings& sp = *s.spectrum;
    const double nyquist_hz = 0.5 / d.dt_s;
    if (!positive(sp.f_min_hz))
        return problem(key::at(key::spectrum, key::f_min), "f_min must be above 0 Hz");
    if (!std::isfinite(sp.f_max_hz) || sp.f_max_hz < sp.f_min_hz || sp.f_max_hz > nyquist_hz)
        return problem(key::at(key::spectrum, key::f_max), "f_max must be from f_min to " +
                                                               text(nyquist_hz) +
                                                               " Hz (half the step rate)");
    if (sp.points < 1 || sp.points > max_spectrum_points)
        return problem(key::at(key::spectrum, key::points),
                       "points must be from 1 to " + std::to_string(max_spectrum_points));
    const auto named = [&](const std::string& name) {
        return std::any_of(s.probes.begin(), s.probes.end(),
                           [&](const Probe& p) { return p.name == name; });
    };
    for (const char* field : {key::reflected, key::transmitted}) {
        const std::string& name = field == key::reflected ? sp.reflected : sp.transmitted;
        if (!named(name))
            return problem(key::at(key::spectrum, field), "no probe is named '" + name + "'");
    }
    return std::nullopt;
}

} // namespace

std::optional<ScenarioProblem> first_problem(const Scenario& s) {
    if (Problem p = check_grid(s.grid)) return p;
    if (Problem p = check_ends(s)) return p;
    const Discretisation d(s); // the grid is sound from here on
    PlacedLayers placed;
    for (std::size_t i = 0; i < s.layers.size(); ++i) {
        if (Problem p = check_layer(s, d, i)) return p;
        if (Problem p = check_overlap(s, placed, i)) return p;
        if (Problem p = check_poles(s, d, i)) return p;
    }
    if (Problem p = check_source_cell(s, d)) return p;
    if (Problem p = check_waveform(s, d)) return p;
    if (Problem p = check_probes(s)) return p;
    if (Problem p = check_spectrum(s, d)) return p;
    if (Problem p = first_uncomputable(s)) return p;
    return placement_problem(s, d);
}

std::string located_message(const Scenario& s, const ScenarioProblem& problem) {
    // A value left at its default has no position: point at its table instead.
    std::string where = s.file;
    std::string path = problem.key;
    for (;;) {
        const auto found = s.positions.find(path);
        if (found != s.positions.end() && found->second.line > 0) {
            where += ":" + std::to_string(found->second.line) + ":" +
                     std::to_string(found->second.column);
            break;
        }
        const std::size_t dot = path.find_last_of(key::separator);
        if (dot == std::string::npos) break;
        path.erase(dot);
    }
    return where.empty() ? problem.message : where + ": " + problem.message;
}

} // namespace lab
