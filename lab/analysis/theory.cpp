#include "lab/analysis/theory.h"

#include <cmath>

#include "lab/scenario/constants.h"
#include "lab/scenario/discretisation.h"

namespace lab {

using Complex = std::complex<double>;

Complex lossy_permittivity(double eps_r, double sigma_s_per_m, double frequency_hz) {
    const double omega = 2.0 * pi * frequency_hz;
    return Complex(eps_r, -sigma_s_per_m / (omega * eps0));
}

Complex pole_susceptibility(const Pole& pole, double frequency_hz) {
    const Complex i(0.0, 1.0);
    const double w = 2.0 * pi * frequency_hz;
    switch (pole.kind) {
    case PoleKind::debye:
        return pole.delta_eps / (1.0 - i * w * pole.relaxation_time_s);
    case PoleKind::drude: {
        const double wp = 2.0 * pi * pole.plasma_frequency_hz;
        return -wp * wp / (w * w + i * 2.0 * pi * pole.collision_frequency_hz * w);
    }
    default: {
        const double w0 = 2.0 * pi * pole.resonance_frequency_hz;
        const double g = 2.0 * pi * pole.damping_frequency_hz;
        return pole.delta_eps * w0 * w0 / (w0 * w0 - w * w - i * g * w);
    }
    }
}

Complex grid_pole_susceptibility(const Pole& pole, double frequency_hz, double dt_s) {
    const Complex i(0.0, 1.0);
    const double half_w_dt = pi * frequency_hz * dt_s;
    if (pole.kind == PoleKind::debye)
        return pole.delta_eps /
               (1.0 - i * (2.0 * pole.relaxation_time_s / dt_s) * std::tan(half_w_dt));
    const bool drude = pole.kind == PoleKind::drude;
    const double w0 = drude ? 0.0 : 2.0 * pi * pole.resonance_frequency_hz;
    const double wp = 2.0 * pi * pole.plasma_frequency_hz;
    const double g = 2.0 * pi * (drude ? pole.collision_frequency_hz : pole.damping_frequency_hz);
    const double strength = drude ? wp * wp : pole.delta_eps * w0 * w0;
    const double sine_half = std::sin(half_w_dt);
    const double w_squared_grid = 4.0 * sine_half * sine_half / (dt_s * dt_s);
    return strength / (w0 * w0 - w_squared_grid - i * g * std::sin(2.0 * half_w_dt) / dt_s);
}

Complex layer_permittivity(const Layer& layer, double frequency_hz) {
    Complex susceptibility = 0.0;
    for (const Pole& pole : layer.poles)
        susceptibility += pole_susceptibility(pole, frequency_hz);
    // The poles are written for exp(-i omega t); this file works in exp(+i omega t), as the
    // probes' transforms do: there a susceptibility is the complex conjugate.
    return lossy_permittivity(layer.eps_r, layer.sigma_s_per_m, frequency_hz) +
           std::conj(susceptibility);
}

namespace {

// Relative admittance Y = sqrt(eps_r / mu_r) and index N = sqrt(eps_r mu_r) with
// Im(N) <= 0 for a lossy medium (fields go as exp(i (omega t - k z))).
Complex admittance(Complex eps_r, Complex mu_r) { return std::sqrt(eps_r / mu_r); }
Complex index(Complex eps_r, Complex mu_r) { return std::sqrt(eps_r) * std::sqrt(mu_r); }

struct Matrix2 {
    Complex m11, m12, m21, m22;
};

Matrix2 operator*(const Matrix2& a, const Matrix2& b) {
    return {a.m11 * b.m11 + a.m12 * b.m21, a.m11 * b.m12 + a.m12 * b.m22,
            a.m21 * b.m11 + a.m22 * b.m21, a.m21 * b.m12 + a.m22 * b.m22};
}

// Characteristic matrix of one layer: [[cos d, i sin d / Y], [i Y sin d, cos d]],
// d = 2 pi f N thickness / c0.
Matrix2 characteristic(const OpticalLayer& layer, double frequency_hz) {
    const Complex i(0.0, 1.0);
    const Complex y = admittance(layer.eps_r, layer.mu_r);
    const Complex d =
        2.0 * pi * frequency_hz * index(layer.eps_r, layer.mu_r) * layer.thickness_m / c0;
    return {std::cos(d), i * std::sin(d) / y, i * y * std::sin(d), std::cos(d)};
}

} // namespace

Reflection stack_reflection(const std::vector<OpticalLayer>& layers, double frequency_hz,
                            Complex exit_eps_r, Complex exit_mu_r) {
    Matrix2 total{1.0, 0.0, 0.0, 1.0};
    for (const OpticalLayer& layer : layers)
        total = total * characteristic(layer, frequency_hz);
    // [B, C] = M [1, Y_exit]; incident admittance 1 (vacuum).
    const Complex y_exit = admittance(exit_eps_r, exit_mu_r);
    const Complex b = total.m11 + total.m12 * y_exit;
    const Complex c = total.m21 + total.m22 * y_exit;
    const Complex r = (b - c) / (b + c);
    return {std::norm(r), 4.0 * y_exit.real() / std::norm(b + c)};
}

Reflection fresnel_half_space(Complex eps_r, Complex mu_r) {
    const Complex y = admittance(eps_r, mu_r);
    const Complex r = (1.0 - y) / (1.0 + y);
    return {std::norm(r), 4.0 * y.real() / std::norm(1.0 + y)};
}

std::optional<double> grid_phase_velocity(double frequency_hz, double dx_m, double courant) {
    const double dt_s = time_step_s(courant, dx_m);
    const double omega = 2.0 * pi * frequency_hz;
    const double sine_half_k_dx = std::sin(omega * dt_s / 2.0) / courant;
    if (!(sine_half_k_dx < 1.0)) return std::nullopt;
    const double k = 2.0 / dx_m * std::asin(sine_half_k_dx);
    return omega / k;
}

} // namespace lab
