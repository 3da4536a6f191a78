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
