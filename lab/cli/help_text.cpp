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
              eps_r [1], mu_r [1], sigma [0] (S/m); with poles eps_r is eps at
                              infinite frequency
  [[layer.pole]]  kind*       a frequency-dependent term of the layer above, any number:
                              debye    delta_eps*, relaxation_time* (s)
                                       + delta_eps / (1 - i omega tau)
                              drude    plasma_frequency*, collision_frequency* (Hz)
                                       - omega_p^2 / (omega^2 + i gamma omega)
                              lorentz  delta_eps*, resonance_frequency*, damping_frequency*
                                       + delta_eps omega_0^2 / (omega_0^2 - omega^2 - i gamma omega)
                              (omega = 2 pi f, exp(-i omega t)); each pole needs at least
                              10 steps per period (2 pi tau for debye), and S^2 mu_r may
                              not exceed eps at half the step rate
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
  spectra.csv  frequency_hz,R,T,R_theory,T_theory   with a [spectrum] section; theory from
               the transfer matrix when the layers form a stack between the probes; cells
               are empty where there is no value
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
