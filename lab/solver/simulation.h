// One run of a scenario: fields, source, probes and the step loop. Settings the live view
// changes between steps each restart the run at step 0.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "lab/solver/field_grid.h"
#include "lab/solver/probes.h"
#include "lab/scenario/scenario.h"
#include "lab/solver/source.h"

namespace lab {

// A field beyond this size means the run is unstable; it stops there, before any NaN.
constexpr double blow_up_limit = 1e30;

class Simulation {
  public:
    // The scenario must pass first_problem (std::invalid_argument otherwise). Without
    // materials every cell is vacuum: the normalisation run of a spectrum.
    explicit Simulation(const Scenario& scenario, bool materials_on = true);

    // One time step: Hy, source correction, Ez with the ends, source, probes, count.
    // Does nothing once the run has blown up.
    void step();
    void reset(); // back to step 0 with zero fields

    int step_count() const { return steps_done_; } // executed steps
    int total_steps() const { return scenario_.grid.steps; }
    bool finished() const { return steps_done_ >= total_steps() || blown_up(); }
    double time_s() const { return steps_done_ * dt_s_; } // time of Ez
    double dt_s() const { return dt_s_; }
    bool blown_up() const { return !blow_up_message_.empty(); }
    const std::string& blow_up_message() const { return blow_up_message_; }

    const std::vector<double>& ez() const { return grid_.fields().ez; } // V/m at x = i dx
    const std::vector<double>& hy() const { return grid_.fields().hy; } // A/m at (i + 1/2) dx
    const std::vector<ProbeRecord>& probes() const { return probes_.records(); }
    const std::vector<double>& frequencies() const { return probes_.frequencies(); }
    const Scenario& scenario() const { return scenario_; }
    bool materials_on() const { return materials_on_; }

    // Changes that restart the run. One the scenario checks refuse leaves everything as it
    // was and returns the reason.
    std::optional<std::string> set_boundary(Side side, Boundary boundary);
    std::optional<std::string> set_source_type(SourceType type);
    std::optional<std::string> set_waveform(Waveform waveform);
    std::optional<std::string> set_source(const SourceSettings& source); // all of it at once
    std::optional<std::string> set_source_cell(int cell);
    std::optional<std::string> set_probe_cell(std::size_t probe, int cell);
    void set_materials(bool on);

    // Histories grow by two values per probe and step; a batch run writing rows as it goes
    // can do without them.
    void keep_history(bool keep) { probes_.keep_history(keep); }
    // Grids of at least this many cells share the sweeps among the OpenMP team.
    void set_parallel_threshold(std::size_t cells);

  private:
    std::optional<std::string> restart_with(const Scenario& changed);
    void watch_for_blow_up();

    Scenario scenario_;
    bool materials_on_;
    double dt_s_;
    FieldGrid grid_;
    Source source_;
    Probes probes_;
    int steps_done_ = 0;
    std::string blow_up_message_;
};

} // namespace lab
