// Checks that every number a scenario leads to can be computed in doubles: the time step,
// the positions and times written, each material's update coefficients and the source's
// values over the run. Values that are each positive and finite can still give 0 / 0 or an
// infinity together (a 1e-320 m cell makes dt 0); such a scenario is refused at the key to
// blame, with the range of that key that works while the rest of the file stays as it is.
#pragma once

#include <optional>

#include "lab/scenario/scenario_check.h"

namespace lab {

// True when none of the derived quantities overflows, vanishes or is not a number.
bool computable(const Scenario& scenario);

// Nothing when computable(); else the key to blame and the range it may take.
std::optional<ScenarioProblem> first_uncomputable(const Scenario& scenario);

} // namespace lab
