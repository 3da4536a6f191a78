// Closed-form results the lab's measurements are held against: reflectance and
// transmittance of a layer stack (transfer matrices), Fresnel's half-space, and the phase
// velocity of the grid's own dispersion relation. Normal incidence from vacuum throughout.
#pragma once

#include <complex>
#include <optional>
#include <vector>

#include "lab/scenario/scenario.h"

namespace lab {

// Powers and amplitudes with fields going as exp(i (omega t - k z)): r is the reflected over
// the incident Ez at the stack's front face, t the Ez leaving its back face over that
// incident Ez.
struct Reflection {
    double R = 0.0; // reflected power over incident power
    double T = 0.0; // transmitted power over incident power
    std::complex<double> r = 0.0, t = 0.0;
};

// arg z in (-pi, pi]; NaN for a value that is not a number (no theory there).
double phase_rad(std::complex<double> z);

// A layer of the stack; complex permittivity carries loss (eps_r - i sigma / (omega eps0)).
struct OpticalLayer {
    std::complex<double> eps_r;
    std::complex<double> mu_r;
    double thickness_m = 0.0;
};

// eps_r - i sigma / (omega eps0): the permittivity a conductor shows at frequency f.
std::complex<double> lossy_permittivity(double eps_r, double sigma_s_per_m, double frequency_hz);

// A pole's susceptibility at frequency f in the physics convention exp(-i omega t): the
// terms of the layer's model (see Pole), with Im > 0 for loss.
std::complex<double> pole_susceptibility(const Pole& pole, double frequency_hz);

// What the grid's update makes of the same pole at time step dt (convention as above):
//   lorentz, drude  de w0^2 / (w0^2 - (2/dt)^2 sin^2(w dt/2) - i g sin(w dt)/dt),
//                   drude with w0 = 0 and de w0^2 = wp^2
//   debye           de / (1 - i (2 tau/dt) tan(w dt/2))
// Each tends to pole_susceptibility as dt goes to 0.
std::complex<double> grid_pole_susceptibility(const Pole& pole, double frequency_hz, double dt_s);

// A layer's relative permittivity at f in this file's convention (as lossy_permittivity):
// eps_inf, its conductivity and the conjugate of each pole's susceptibility.
std::complex<double> layer_permittivity(const Layer& layer, double frequency_hz);

// R and T of layers between vacuum and an exit half-space (vacuum by default), from the
// admittance each layer shows at its front face, worked from the exit towards the source.
// Every exponential there decays, so that a conductor many skin depths thick gives R near
// 1 and T near 0 instead of overflowing. T is the power carried into the exit medium.
Reflection stack_reflection(const std::vector<OpticalLayer>& layers, double frequency_hz,
                            std::complex<double> exit_eps_r = 1.0,
                            std::complex<double> exit_mu_r = 1.0);

// A single interface from vacuum into a half-space: R = |(1 - n') / (1 + n')|^2 with
// n' = sqrt(eps_r / mu_r) the relative admittance.
Reflection fresnel_half_space(std::complex<double> eps_r, std::complex<double> mu_r = 1.0);

// omega / k of a wave of this frequency on a vacuum grid of cell dx and Courant number S,
// from sin(omega dt / 2) / (c0 dt) = sin(k dx / 2) / dx. Nothing when the grid cannot carry
// the frequency (the wave is evanescent there).
std::optional<double> grid_phase_velocity(double frequency_hz, double dx_m, double courant);

} // namespace lab
