// What a time step allows of a dispersive layer: how finely it resolves each pole, and the
// permittivity the grid sees at its highest frequency (half the step rate), on which the
// stability of the whole update rests.
#pragma once

#include "lab/scenario/scenario.h"

namespace lab {

// Fewer steps than this per period of a pole's resonance, plasma oscillation or relaxation
// (2 pi tau) and its update is too coarse to trust.
constexpr double min_steps_per_pole_period = 10.0;

// Steps per 2 pi / omega_0 (lorentz), 2 pi / omega_p (drude) or 2 pi tau (debye).
double steps_per_pole_period(const Pole& pole, double dt_s);

// eps_inf plus each pole's discrete susceptibility at omega dt = pi, where it is real:
// drude -(omega_p dt / 2)^2, lorentz -delta_eps (omega_0 dt)^2 / (4 - (omega_0 dt)^2),
// debye 0 (its update is the bilinear one). The run is stable while S^2 mu_r stays at or
// below it: the grid's dispersion relation then gives a real frequency for every
// wavenumber (checked against the roots of the update's amplification polynomial and by a
// long run of the worst case allowed, see test_lab_dispersive).
double nyquist_permittivity(const Layer& layer, double dt_s);

} // namespace lab
