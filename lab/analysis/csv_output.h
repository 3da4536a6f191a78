// The lab's CSV tables: fields after a step, probe rows, spectra. Numbers are written as
// the shortest text that reads back to the same double (see csv_number.h); a value that is
// not measured is an empty cell, never "nan" or "inf".
#pragma once

#include <cstdio>
#include <vector>

#include "lab/analysis/experiment.h"
#include "lab/solver/simulation.h"

namespace lab {

// cell,x_m,Ez,Hy: one row per cell (Hy lies half a cell to the right of x_m).
bool write_fields_csv(std::FILE* out, const Simulation& sim);

// step,time_s,<name>_Ez,<name>_Hy,... : the header, then one row after each step, with
// step the index of the step just taken and time_s the time its Ez belongs to.
bool write_probe_header(std::FILE* out, const Simulation& sim);
bool write_probe_row(std::FILE* out, const Simulation& sim);
// A row of values kept elsewhere: step, its time, then Ez and Hy of each probe in values.
bool write_probe_values(std::FILE* out, const Simulation& sim, int step,
                        const std::vector<double>& values);
// All rows of the probe histories at once (a run that kept them).
bool write_probe_history(std::FILE* out, const Simulation& sim);

// frequency_hz,R,T,R_theory,T_theory,phase_r_rad,phase_t_rad,phase_r_theory_rad,
// phase_t_theory_rad: phases of r at the stack's front face and of t at its back face (see
// StackFaces), measured and from the transfer matrix.
bool write_spectra_csv(std::FILE* out, const Spectra& spectra);

} // namespace lab
