// Checks a scenario as a whole before anything is computed: ranges, the grid's room for the
// ends, the source outside a pml, layers and probes inside the grid, stability.
#pragma once

#include <optional>
#include <string>

#include "lab/scenario/scenario.h"

namespace lab {

struct ScenarioProblem {
    std::string key;     // key path of the offending value, as in Scenario::positions
    std::string message; // what is wrong, with the allowed values or range
};

// The first problem found, or nothing when the scenario can be run.
std::optional<ScenarioProblem> first_problem(const Scenario& scenario);

// "FILE:LINE:COLUMN: message" with as much of the position as is known.
std::string located_message(const Scenario& scenario, const ScenarioProblem& problem);

// Largest grid and run the lab accepts: beyond them memory or patience runs out first.
constexpr int max_cells = 100'000'000;
constexpr int max_steps = 1'000'000'000;
constexpr int max_spectrum_points = 100'000;

} // namespace lab
