// Where the source, the probes and the layers may sit so that what is measured means
// something: nothing inside a pml but a half-space running through it, and for a spectrum
// a source that is no wall, in vacuum before the layers, the reflected probe there too and
// the transmitted probe beyond them.
#pragma once

#include <optional>

#include "lab/scenario/discretisation.h"
#include "lab/scenario/scenario.h"
#include "lab/scenario/scenario_check.h"

namespace lab {

// The first misplaced part, at its key; nothing when all sit where they measure sense.
std::optional<ScenarioProblem> placement_problem(const Scenario& scenario,
                                                 const Discretisation& grid);

} // namespace lab
