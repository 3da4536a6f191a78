#include "lab/scenario/finite_checks.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "lab/scenario/cell_coefficients.h"
#include "lab/scenario/discretisation.h"
#include "lab/scenario/keys.h"
#include "lab/scenario/number_text.h"
#include "lab/scenario/waveforms.h"

namespace lab {

namespace {

using Limits = std::numeric_limits<double>;

//-----------------------------------------------------------------------------
// [SECTION] What must be computable
//-----------------------------------------------------------------------------

bool finite(const CellCoefficients& c) {
    return std::isfinite(c.ca) && std::isfinite(c.cb) && std::isfinite(c.db);
}

// dt must be a normal number: at 0 every coefficient is 0 / 0, and half the step rate
// (the highest frequency allowed) would be infinite.
bool grid_computable(const GridSettings& g, double dt_s) {
    return std::isnormal(dt_s) && std::isfinite(dt_s * (g.steps + 1.0)) &&
           std::isfinite(g.cell_size_m * (g.cells - 1.0)) && std::isfinite(0.5 / dt_s);
}

// The material alone and beside vacuum, whose Hy sees the mean permeability of the two.
bool material_computable(const Material& m, double dt_s, double dx_m) {
    return finite(cell_coefficients(m, m.mu_r, dt_s, dx_m)) &&
           finite(cell_coefficients(m, 0.5 * (m.mu_r + 1.0), dt_s, dx_m));
}

// Every waveform's arguments grow in size with |n - delay| or with n, so when the first
// and the last step compute, every step between them does.
bool source_computable(const Scenario& s, double dt_s) {
    return std::isfinite(source_value(s.source, 0, dt_s)) &&
           std::isfinite(source_value(s.source, s.grid.steps - 1, dt_s));
}

//-----------------------------------------------------------------------------
// [SECTION] The key to blame and the range that works
//-----------------------------------------------------------------------------

// A key that may be blamed: its path, how it reads in a message, a value known to be sane,
// the widest values it may take at all, access to it in a scenario, and what must compute.
struct Suspect {
    std::string path;
    const char* name;
    const char* unit;
    double sane;
    double lowest;
    double highest;
    std::function<double&(Scenario&)> value;
    std::function<bool(const Scenario&)> works;
};

// Doubles mapped to integers in the same order, so that bisection halves the count of
// doubles between two values rather than their difference.
std::int64_t ordered(double x) {
    std::int64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    return bits < 0 ? std::numeric_limits<std::int64_t>::min() - bits : bits;
}

double from_ordered(std::int64_t key) {
    const std::int64_t bits = key < 0 ? std::numeric_limits<std::int64_t>::min() - key : key;
    double x;
    std::memcpy(&x, &bits, sizeof x);
    return x;
}

// The last value from good toward bad (good computes, bad does not) that still computes.
double last_good(const Suspect& suspect, Scenario s, double good, double bad) {
    const auto works = [&](double v) {
        suspect.value(s) = v;
        return suspect.works(s);
    };
    if (works(bad)) return bad;
    std::int64_t g = ordered(good), b = ordered(bad);
    for (;;) {
        const std::int64_t middle = (g & b) + ((g ^ b) >> 1); // the mean, without overflow
        if (middle == g || middle == b) return from_ordered(g);
        (works(from_ordered(middle)) ? g : b) = middle;
    }
}

// A bound printed with three digits, moved inward until the printed value itself works.
std::string inward_text(double bound, double toward) {
    char text[32];
    double v = bound;
    for (int tries = 0; tries < 100; ++tries) {
        std::snprintf(text, sizeof text, "%.3g", v);
        const double printed = std::strtod(text, nullptr);
        if (bound <= toward ? printed >= bound : printed <= bound) break;
        const double nudge = std::max(std::fabs(v) * 1e-3, Limits::min());
        v += toward > bound ? nudge : -nudge;
    }
    return text;
}

ScenarioProblem blame(const Suspect& suspect, const Scenario& s) {
    const double lo = last_good(suspect, s, suspect.sane, suspect.lowest);
    const double hi = last_good(suspect, s, suspect.sane, suspect.highest);
    Scenario copy = s;
    const std::string unit = *suspect.unit ? std::string(" ") + suspect.unit : "";
    return {suspect.path, std::string(suspect.name) + " " + exact_text(suspect.value(copy)) + unit +
                              " leads to numbers a double cannot hold (the time step, update "
                              "coefficients, positions or source values overflow or vanish); "
                              "with the rest of the file as it is, " +
                              suspect.name + " must be from " + inward_text(lo, hi) + " to " +
                              inward_text(hi, lo) + unit};
}

bool layer_computable(const Scenario& s, std::size_t i) {
    const Layer& l = s.layers[i];
    return material_computable({l.eps_r, l.mu_r, l.sigma_s_per_m},
                               time_step_s(s.grid.courant, s.grid.cell_size_m), s.grid.cell_size_m);
}

// The values of one layer, blamed for that layer alone.
std::vector<Suspect> layer_suspects(std::size_t i) {
    const double tiny = Limits::denorm_min(), huge = Limits::max();
    const auto works = [i](const Scenario& x) { return layer_computable(x, i); };
    return {
        {key::at(key::layer, i, key::sigma), key::sigma, "S/m", 0.0, 0.0, huge,
         [i](Scenario& x) -> double& { return x.layers[i].sigma_s_per_m; }, works},
        {key::at(key::layer, i, key::eps_r), key::eps_r, "", 1.0, tiny, huge,
         [i](Scenario& x) -> double& { return x.layers[i].eps_r; }, works},
        {key::at(key::layer, i, key::mu_r), key::mu_r, "", 1.0, tiny, huge,
         [i](Scenario& x) -> double& { return x.layers[i].mu_r; }, works},
    };
}

// The source's and the grid's values, blamed when the whole scenario then computes.
std::vector<Suspect> run_suspects(const Scenario& s) {
    const double tiny = Limits::denorm_min(), huge = Limits::max();
    const SourceSettings source;
    const double some_frequency_hz = 1e-3 * 0.5 / time_step_s(s.grid.courant, s.grid.cell_size_m);
    constexpr double sane_cell_size_m = 1e-3;
    return {
        {key::at(key::source, key::delay), key::delay, "steps", source.delay_steps, -huge, huge,
         [](Scenario& x) -> double& { return x.source.delay_steps; }, computable},
        {key::at(key::source, key::width), key::width, "steps", source.width_steps, tiny, huge,
         [](Scenario& x) -> double& { return x.source.width_steps; }, computable},
        {key::at(key::source, key::frequency), key::frequency, "Hz", some_frequency_hz, tiny, huge,
         [](Scenario& x) -> double& { return x.source.frequency_hz; }, computable},
        {key::at(key::grid, key::courant), key::courant, "", GridSettings{}.courant, tiny, huge,
         [](Scenario& x) -> double& { return x.grid.courant; }, computable},
        {key::at(key::grid, key::cell_size), key::cell_size, "m", sane_cell_size_m, tiny, huge,
         [](Scenario& x) -> double& { return x.grid.cell_size_m; }, computable},
    };
}

std::optional<ScenarioProblem> first_to_blame(const std::vector<Suspect>& list, const Scenario& s) {
    for (const Suspect& suspect : list) {
        Scenario changed = s;
        suspect.value(changed) = suspect.sane;
        if (std::isfinite(suspect.sane) && suspect.works(changed)) return blame(suspect, s);
    }
    return std::nullopt;
}

} // namespace

bool computable(const Scenario& s) {
    const double dt_s = time_step_s(s.grid.courant, s.grid.cell_size_m);
    const double dx_m = s.grid.cell_size_m;
    if (!grid_computable(s.grid, dt_s) || !material_computable(Material{}, dt_s, dx_m))
        return false;
    const CellMaterials materials(s.layers);
    for (std::size_t i = 0; i < s.layers.size(); ++i)
        if (!material_computable(materials.of_layer(i), dt_s, dx_m)) return false;
    return source_computable(s, dt_s);
}

std::optional<ScenarioProblem> first_uncomputable(const Scenario& s) {
    if (computable(s)) return std::nullopt;
    const double dt_s = time_step_s(s.grid.courant, s.grid.cell_size_m);
    // A layer can only be blamed on a grid that computes in vacuum.
    if (grid_computable(s.grid, dt_s) && material_computable(Material{}, dt_s, s.grid.cell_size_m))
        for (std::size_t i = 0; i < s.layers.size(); ++i)
            if (!layer_computable(s, i))
                if (std::optional<ScenarioProblem> p = first_to_blame(layer_suspects(i), s))
                    return p;
    if (std::optional<ScenarioProblem> p = first_to_blame(run_suspects(s), s)) return p;
    return ScenarioProblem{key::at(key::grid, key::cell_size),
                           "the time step, update coefficients, positions or source values of "
                           "this scenario overflow or vanish; bring its numbers nearer to 1"};
}

} // namespace lab
