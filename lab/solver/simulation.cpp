#include "lab/solver/simulation.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "lab/scenario/constants.h"
#include "lab/scenario/scenario_check.h"
#include "lab/solver/ends/grid_end.h"
#include "lab/solver/polarisation.h"
#include "lab/solver/source.h"

namespace lab {

namespace {

const Scenario& checked(const Scenario& s) {
    if (const std::optional<ScenarioProblem> problem = first_problem(s))
        throw std::invalid_argument(located_message(s, *problem));
    return s;
}

// Largest |Ez| and |eta0 Hy| (both in V/m); NaN when any value is not a number.
double largest_field(const FieldArrays& f) {
    double largest = 0.0;
    for (std::size_t i = 0; i < f.ez.size(); ++i) {
        const double m = std::max(std::fabs(f.ez[i]), eta0 * std::fabs(f.hy[i]));
        if (!(m <= largest)) largest = m; // also takes a NaN, which then stays
        if (std::isnan(largest)) break;
    }
    return largest;
}

} // namespace

Simulation::Simulation(const Scenario& scenario, bool materials_on)
    : scenario_(checked(scenario)), materials_on_(materials_on),
      discretisation_(scenario, materials_on), grid_(discretisation_) {
    add_hooks(true);
}

// The order of the hooks within each phase of a step: the ends first (their pml shares and
// end nodes), then the source, which may drive an end node, then the probes, which record
// the finished step. Before all of them the polarisation of dispersive layers completes the
// Ez sweep; a grid without poles goes without it.
void Simulation::add_hooks(bool keep_history) {
    const BoundarySettings& ends = scenario_.boundary;
    if (has_poles(discretisation_)) grid_.add_hook(std::make_unique<Polarisation>(discretisation_));
    grid_.add_hook(make_grid_end(Side::left, ends.left, discretisation_, ends.pml_cells));
    grid_.add_hook(make_grid_end(Side::right, ends.right, discretisation_, ends.pml_cells));
    grid_.add_hook(
        std::make_unique<Source>(scenario_.source, discretisation_, scenario_.grid.steps));
    // The probes read their own cells alone.
    std::vector<CellRange> probe_cells;
    for (const Probe& p : scenario_.probes)
        probe_cells.push_back({p.cell, p.cell + 1});
    probes_ = &grid_.add_hook(std::make_unique<Probes>(scenario_, discretisation_, keep_history),
                              probe_cells);
}

// Each step: Hy, then after_h (the pml's share, the tfsf correction); before_e (end values
// kept), Ez, then after_e (ends, source, probes); then the count and the watch.
void Simulation::step() { advance(1); }

void Simulation::advance(int count, const std::function<void()>& after_each_step) {
    if (blown_up()) return;
    grid_.advance(steps_done_, count, !watches_whole_line(), [&](int /*n*/) {
        ++steps_done_;
        watch_for_blow_up();
        if (after_each_step) after_each_step();
        return !blown_up();
    });
}

// Without probes, or when the scenario may be unstable, every step looks at every cell.
bool Simulation::watches_whole_line() const {
    return scenario_.grid.allow_unstable || probes_->records().empty();
}

void Simulation::watch_for_blow_up() {
    // Only a scenario allowed to be unstable can grow; the others are checked at their probes,
    // or everywhere when they have none. "Not within the limit" also catches a NaN, which no
    // comparison puts above it.
    const auto runaway = [](double field) { return !(std::fabs(field) <= blow_up_limit); };
    bool grown = false;
    for (const ProbeRecord& p : probes_->records())
        grown = grown || runaway(p.ez) || runaway(eta0 * p.hy);
    if (watches_whole_line()) grown = grown || runaway(largest_field(grid_.fields()));
    if (!grown) return;
    char text[160];
    std::snprintf(text, sizeof text,
                  "the fields grew beyond %g V/m in step %d (S = %g): the run is unstable and "
                  "stopped after it",
                  blow_up_limit, steps_done_, scenario_.grid.courant);
    blow_up_message_ = text;
}

void Simulation::reset() {
    grid_.clear();
    steps_done_ = 0;
    blow_up_message_.clear();
}

//-----------------------------------------------------------------------------
// [SECTION] Changes between steps
//-----------------------------------------------------------------------------

void Simulation::rebuild(const Scenario& changed) {
    const std::size_t threshold = grid_.parallel_threshold;
    const BlockingSettings blocking = grid_.blocking;
    const bool keep_history = probes_->keeps_history();
    scenario_ = changed;
    discretisation_ = Discretisation(scenario_, materials_on_);
    grid_ = FieldGrid(discretisation_);
    grid_.parallel_threshold = threshold;
    grid_.blocking = blocking;
    add_hooks(keep_history);
    steps_done_ = 0;
    blow_up_message_.clear();
}

std::optional<std::string> Simulation::restart_with(const std::function<void(Scenario&)>& change) {
    Scenario changed = scenario_;
    change(changed);
    if (const std::optional<ScenarioProblem> problem = first_problem(changed))
        return problem->message;
    rebuild(changed);
    return std::nullopt;
}

void Simulation::set_materials(bool on) {
    materials_on_ = on;
    rebuild(scenario_);
}

void Simulation::set_parallel_threshold(std::size_t cells) { grid_.parallel_threshold = cells; }

void Simulation::set_blocking(const BlockingSettings& settings) { grid_.blocking = settings; }

} // namespace lab
