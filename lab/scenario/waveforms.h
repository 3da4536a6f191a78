// The source waveforms, as functions of the index n of the step being taken (0 for the first).
#pragma once

#include "lab/scenario/scenario.h"

namespace lab {

// The value the source drives at step n; dt is the time step in seconds.
double source_value(const SourceSettings& source, int n, double dt_s);

} // namespace lab
