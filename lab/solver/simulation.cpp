#include "lab/solver/simulation.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "lab/scenario/constants.h"
#include "lab/scenario/scenario_check.h"

namespace lab {

namespace {

const Scenario& checked(const Scenario& s) {
    if (const std::optional<ScenarioProblem> problem = first_problem(s))
        throw std::invalid_argument(located_message(s, *problem));
    return s;
}

FieldGrid grid_for(const Scenario& s, bool materials_on) {
    const CellMaterials m =
        cell_materials(s.grid.cells, materials_on ? s.layers : std::vector<Layer>{});
    return FieldGrid(m, s.grid.cell_size_m, s.time_step_s(), s.boundary.left, s.boundary.right,
                     s.boundary.pml_cells, s.grid.courant);
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
    : scenario_(checked(scenario)), materials_on_(materials_on), dt_s_(scenario.time_step_s()),
      grid_(grid_for(scenario, materials_on)), source_(scenario), probes_(scenario, true) {}

void Simulation::step() {
    if (blown_up()) return;
    grid_.update_h();
    source_.after_h(grid_);
    grid_.update_e();
    source_.after_e(grid_, steps_done_);
    probes_.record(grid_.fields(), steps_done_);
    ++steps_done_;
    watch_for_blow_up();
}

void Simulation::watch_for_blow_up() {
    // Only a scenario allowed to be unstable can grow; the others are checked at their probes.
    // "Not within the limit" also catches a NaN, which no comparison puts above it.
    const auto runaway = [](double field) { return !(std::fabs(field) <= blow_up_limit); };
    bool grown = false;
    for (const ProbeRecord& p : probes_.records())
        grown = grown || runaway(p.ez) || runaway(eta0 * p.hy);
    if (scenario_.grid.allow_unstable) grown = grown || runaway(largest_field(grid_.fields()));
    if (!grown) return;
    char text[160];
    std::snprintf(text, sizeof text,
                  "the fields grew beyond %g V/m at step %d (S = %g): the run is unstable and "
                  "stopped there",
                  blow_up_limit, steps_done_ - 1, scenario_.grid.courant);
    blow_up_message_ = text;
}

void Simulation::reset() {
    grid_.clear();
    source_.clear();
    probes_.clear();
    steps_done_ = 0;
    blow_up_message_.clear();
}

//-----------------------------------------------------------------------------
// [SECTION] Changes between steps
//-----------------------------------------------------------------------------

std::optional<std::string> Simulation::restart_with(const Scenario& changed) {
    if (const std::optional<ScenarioProblem> problem = first_problem(changed))
        return problem->message;
    const std::size_t threshold = grid_.parallel_threshold;
    scenario_ = changed;
    grid_ = grid_for(scenario_, materials_on_);
    grid_.parallel_threshold = threshold;
    source_ = Source(scenario_);
    probes_ = Probes(scenario_, probes_.keeps_history());
    steps_done_ = 0;
    blow_up_message_.clear();
    return std::nullopt;
}

std::optional<std::string> Simulation::set_boundary(Side side, Boundary boundary) {
    Scenario changed = scenario_;
    (side == Side::left ? changed.boundary.left : changed.boundary.right) = boundary;
    return restart_with(changed);
}

std::optional<std::string> Simulation::set_source_type(SourceType type) {
    Scenario changed = scenario_;
    changed.source.type = type;
    return restart_with(changed);
}

std::optional<std::string> Simulation::set_waveform(Waveform waveform) {
    Scenario changed = scenario_;
    changed.source.waveform = waveform;
    return restart_with(changed);
}

std::optional<std::string> Simulation::set_source(const SourceSettings& source) {
    Scenario changed = scenario_;
    changed.source = source;
    return restart_with(changed);
}

std::optional<std::string> Simulation::set_source_cell(int cell) {
    Scenario changed = scenario_;
    changed.source.cell = cell;
    return restart_with(changed);
}

std::optional<std::string> Simulation::set_probe_cell(std::size_t probe, int cell) {
    if (probe >= scenario_.probes.size()) return "there is no probe " + std::to_string(probe);
    Scenario changed = scenario_;
    changed.probes[probe].cell = cell;
    return restart_with(changed);
}

void Simulation::set_materials(bool on) {
    materials_on_ = on;
    restart_with(scenario_);
}

void Simulation::set_parallel_threshold(std::size_t cells) { grid_.parallel_threshold = cells; }

} // namespace lab
