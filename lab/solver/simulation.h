// One run of a scenario: fields, source, probes and the step loop. Settings the live view
// changes between steps each restart the run at step 0.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "lab/scenario/discretisation.h"
#include "lab/scenario/scenario.h"
#include "lab/solver/field_grid.h"
#include "lab/solver/probes.h"

namespace lab {

// A field beyond this size means the run is unstable; it stops there, before any NaN.
constexpr double blow_up_limit = 1e30;

class Simulation {
  public:
    // The scenario must pass first_problem (std::invalid_argument otherwise). Without
    // materials every cell is vacuum: the normalisation run of a spectrum.
    explicit Simulation(const Scenario& scenario, bool materials_on = true);

    // One time step: Hy, then Ez, each with its hooks (ends, source, probes), then the
    // count. Does nothing once the run has blown up.
    void step();
    // count steps, as many calls of step() would take them, with after_each_step called after
    // each. Long grids take them in blocks (see temporal_blocking.h): within a block,
    // after_each_step may read the probes and the count, and the fields are all in step
    // again on return. A blow-up is found at the probes in the step it happens, but in a
    // block the cells away from the hooks are by then up to a block's steps further.
    void advance(int count, const std::function<void()>& after_each_step = {});
    void reset(); // back to step 0 with zero fields

    int step_count() const { return steps_done_; } // executed steps
    int total_steps() const { return scenario_.grid.steps; }
    bool finished() const { return steps_done_ >= total_steps() || blown_up(); }
    double time_s() const { return steps_done_ * dt_s(); } // time of Ez
    double dt_s() const { return discretisation_.dt_s; }
    bool blown_up() const { return !blow_up_message_.empty(); }
    const std::string& blow_up_message() const { return blow_up_message_; }

    const std::vector<double>& ez() const { return grid_.fields().ez; } // V/m at x = i dx
    const std::vector<double>& hy() const { return grid_.fields().hy; } // A/m at (i + 1/2) dx
    const std::vector<ProbeRecord>& probes() const { return probes_->records(); }
    const std::vector<double>& frequencies() const { return probes_->frequencies(); }
    const Scenario& scenario() const { return scenario_; }
    // The grid this run steps on, materials as they are switched (see set_materials).
    const Discretisation& discretisation() const { return discretisation_; }
    bool materials_on() const { return materials_on_; }

    // Restarts the run on the scenario as change leaves it. A scenario the checks refuse
    // leaves everything as it was and gives the reason.
    std::optional<std::string> restart_with(const std::function<void(Scenario&)>& change);
    // Restarts the run with or without the scenario's layers.
    void set_materials(bool on);

    // Histories grow by two values per probe and step; a batch run writing rows as it goes
    // can do without them.
    void keep_history(bool keep) { probes_->keep_history(keep); }
    // Grids of at least this many cells share the sweeps among the OpenMP team.
    void set_parallel_threshold(std::size_t cells);
    // When advance takes steps in blocks; the same bits as single steps either way.
    void set_blocking(const BlockingSettings& settings);

  private:
    void add_hooks(bool keep_history);
    void rebuild(const Scenario& changed);
    void watch_for_blow_up();
    bool watches_whole_line() const;

    Scenario scenario_;
    bool materials_on_;
    Discretisation discretisation_;
    FieldGrid grid_;
    Probes* probes_ = nullptr; // the last hook of grid_, which owns it
    int steps_done_ = 0;
    std::string blow_up_message_;
};

} // namespace lab
