#include "lab/cli/help_text.h"

namespace lab {

const char* scenario_help() {
    return R"(Scenario files (TOML; defaults in brackets, * required):
  [grid]      cells*          number of Ez nodes (3 .. 100000000)
              cell_size*      length
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
              delay [40], width [10]  steps, or a time;  frequency;  ramp_periods [3]
  [[layer]]   any number of layers, not overlapping, each placed one of two ways:
              first*, last*   cells, inclusive
              start*, and thickness* or quarter_wave_at*   x of the front face from Ez
                              node 0, and a length or c0 / (4 n f) at frequency f; rounded
                              to whole cells (run notes a change above 1 %)
              and made of n (eps_r = n^2, mu_r = 1) or eps_r [1], mu_r [1]; sigma [0] (S/m);
              with poles eps_r (or n^2) is eps at infinite frequency
  [[stack]]   start*, repeat*  a periodic stack, its layers back to back from start:
  [[stack.layer]]  thickness* or quarter_wave_at*; n or eps_r, mu_r; sigma (in order)
  [[layer.pole]]  kind*       a frequency-dependent term of the layer (or stack layer) above, any number:
                              debye    delta_eps*, relaxation_time* (a time)
                                       + delta_eps / (1 - i omega tau)
                              drude    plasma_frequency*, collision_frequency* (frequencies)
                                       - omega_p^2 / (omega^2 + i gamma omega)
                              lorentz  delta_eps*, resonance_frequency*, damping_frequency*
                                       + delta_eps omega_0^2 / (omega_0^2 - omega^2 - i gamma omega)
                              (omega = 2 pi f, exp(-i omega t)); each pole needs at least
                              10 steps per period (2 pi tau for debye), and S^2 mu_r may
                              not exceed eps at half the step rate
  [[probe]]   name*, cell*    Ez and Hy recorded after every step; not inside a pml
  [spectrum]  f_min*, f_max*, points*   frequency grid (optional section)
              reflected*, transmitted*  probe names: R and T against a normalisation run
                              of the same scenario without layers. The source is soft or
                              tfsf and, with the reflected probe, in vacuum before the
                              first layer; the transmitted probe lies beyond the last layer
                              (inside it past its front face when it runs to the right end)
Numbers are SI (m, Hz, s); a length, frequency or time may also be a string with a unit:
  "6 mm", "0.1 mm", "20 GHz", "40 ps"  (m, mm, um, nm; Hz, kHz, MHz, GHz, THz;
  s, ms, us, ns, ps, fs). Example: a quarter-wave coating at 20 GHz and an 8-pair mirror:
    [[layer]]                          [[stack]]
    start = "37.5 mm"                  start = "37.5 mm"
    quarter_wave_at = "20 GHz"         repeat = 8
    n = 1.5                            [[stack.layer]]  quarter_wave_at = "20 GHz", n = 2
                                       [[stack.layer]]  quarter_wave_at = "20 GHz", n = 1.5
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
it is a terminal. Warnings go to standard error and leave the exit status 0: abc ends at
S < 1 under a spectrum, a pulse starting from a jump (delay below 3 widths), energy still
in the grid at the end above 1e-6 of its peak (with the steps that would do), and R, T or
R + T outside 0..1 by more than 1e-3 (with the likeliest cause).
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
