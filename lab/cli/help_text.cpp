#include "lab/cli/help_text.h"

namespace lab {

const char* scenario_help() {
    return R"(Scenario files (TOML; defaults in brackets, * required):
  [grid]      cells*          number of Ez nodes (3 .. 100000000)
              cell_size*      metres
              courant [1.0]   S = c0 dt / dx; above 1 only with allow_unstable = true
              steps*          time steps of a full run
              allow_unstable [false]
  [boundary]  left, right [pec]   pec | pmc | abc | mur | pml
                                  abc: exact at S = 1 in vacuum; mur: first order, any S;
                                  pml: graded convolutional PML closed by a pec wall
              pml_cells [20]  thickness of a pml end
  [source]    type [soft]     hard (sets Ez) | soft (adds to Ez) | tfsf (a wave travelling
                              right from the source cell, nothing to its left)
              cell*           not inside a pml; a tfsf source sits in vacuum
              waveform [gaussian]  with n the index of the step being taken:
                              gaussian   exp(-((n - delay) / width)^2)
                              ricker     peak frequency, centred on delay
                              sine       frequency, switched on over ramp_periods periods
                              modulated  the gaussian times a sine of the frequency
              delay [40], width [10]  steps;  frequency  Hz;  ramp_periods [3]
  [[layer]]   first*, last*   cells, inclusive; any number of layers, not overlapping
              eps_r [1], mu_r [1], sigma [0] (S/m)
  [[probe]]   name*, cell*    Ez and Hy recorded after every step
  [spectrum]  f_min*, f_max*, points*   frequency grid in Hz (optional section)
              reflected*, transmitted*  probe names: R and T against a normalisation run
                              of the same scenario without layers
Errors are reported as FILE:LINE:COLUMN: what is wrong.
)";
}

const char* run_outputs_help() {
    return R"(run writes into the --out folder (created if missing), each file whole or not at all:
  fields.csv   cell,x_m,Ez,Hy          the fields after the last step (Hy half a cell right)
  probes.csv   step,time_s,<name>_Ez,<name>_Hy,...  one row per step, recorded after it
  spectra.csv  frequency_hz,R,T,R_theory,T_theory,phase_r_rad,phase_t_rad,
               phase_r_theory_rad,phase_t_theory_rad   with a [spectrum] section; theory from
               the transfer matrix when the layers form a stack between the probes; cells
               are empty where there is no value. T is the power the grid carries, its flux
               Y |E|^2 cos(k dx / 2) with k from the grid's dispersion, in both media.
               Phases in (-pi, pi] of r = E_reflected / E_incident at the front face of the
               first layer (half a cell before its first cell) and of t = E_transmitted at
               the back face of the last layer (half a cell after its last cell, or the front
               face of a layer the transmitted probe sits in) over E_incident at the front
               face; each probe's transform is the sum of Ez(t) exp(-i 2 pi f t) dt, so fields
               go as exp(i (2 pi f t - k x)): a perfect electric wall reads pi, a magnetic 0
A summary line per file goes to standard output; a progress line to standard error when
it is a terminal.
)";
}

const char* exit_status_help() {
    return R"(Exit status: 0 done; 1 output could not be written; 2 bad scenario, option or output
folder (nothing written); 3 the run became unstable (a field beyond 1e30) and stopped:
fields.csv and probes.csv hold the steps up to there, spectra.csv is not written;
128 + N when signal N (SIGINT, SIGTERM) stopped the run: nothing written.
)";
}

} // namespace lab
