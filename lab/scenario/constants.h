// Vacuum constants in SI units, shared by the solver and the theory.
#pragma once

namespace lab {

constexpr double pi = 3.14159265358979323846;
constexpr double mu0 = 4.0e-7 * pi;            // vacuum permeability, H/m
constexpr double eps0 = 8.854187817620389e-12; // vacuum permittivity, F/m
extern const double c0;                        // speed of light, 1 / sqrt(mu0 eps0), m/s
extern const double eta0;                      // impedance of free space, sqrt(mu0 / eps0), ohm

} // namespace lab
