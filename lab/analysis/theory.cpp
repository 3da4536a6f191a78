#include "lab/analysis/theory.h"

#include <cmath>

#include "lab/analysis/grid_flux.h"
#include "lab/scenario/constants.h"

namespace lab {

double phase_rad(std::complex<double> z) {
    return std::isfinite(z.real()) && std::isfinite(z.imag()) ? std::arg(z) : std::nan("");
}

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

// Across one layer of admittance Y and phase thickness d = 2 pi f N thickness / c0, with
// q = exp(-2 i d) (|q| <= 1 since Im d <= 0):
//   front admittance  (Y_back (1 + q) + Y (1 - q)) / ((1 + q) + (Y_back / Y) (1 - q)),
//   E_back / E_front  2 exp(-i d) / ((1 + q) + (Y_back / Y) (1 - q)),
// the characteristic matrix [[cos d, i sin d / Y], [i Y sin d, cos d]] applied to
// [E_back, Y_back E_back] and divided by exp(i d) / 2, so nothing grows with the loss.
struct Crossing {
    Complex front_admittance;
    Complex e_back_over_front;
};

Crossing cross(const OpticalLayer& layer, double frequency_hz, Complex back_admittance) {
    const Complex i(0.0, 1.0);
    const Complex y = admittance(layer.eps_r, layer.mu_r);
    const Complex d =
        2.0 * pi * frequency_hz * index(layer.eps_r, layer.mu_r) * layer.thickness_m / c0;
    const Complex q = std::exp(-2.0 * i * d);
    const Complex denominator = (1.0 + q) + back_admittance / y * (1.0 - q);
    return {(back_admittance * (1.0 + q) + y * (1.0 - q)) / denominator,
            2.0 * std::exp(-i * d) / denominator};
}

} // namespace

Reflection stack_reflection(const std::vector<OpticalLayer>& layers, double frequency_hz,
                            Complex exit_eps_r, Complex exit_mu_r) {
    const Complex y_exit = admittance(exit_eps_r, exit_mu_r);
    Complex y_front = y_exit;
    Complex e_exit_over_front = 1.0;
    for (auto layer = layers.rbegin(); layer != layers.rend(); ++layer) {
        const Crossing c = cross(*layer, frequency_hz, y_front);
        y_front = c.front_admittance;
        e_exit_over_front *= c.e_back_over_front;
    }
    // Incident admittance 1 (vacuum): r = (1 - Y) / (1 + Y), E_front = E_inc (1 + r).
    const Complex r = (1.0 - y_front) / (1.0 + y_front);
    const Complex t = (1.0 + r) * e_exit_over_front;
    return {std::norm(r), y_exit.real() * std::norm(t), r, t};
}

Reflection fresnel_half_space(Complex eps_r, Complex mu_r) {
    const Complex y = admittance(eps_r, mu_r);
    const Complex r = (1.0 - y) / (1.0 + y);
    return {std::norm(r), 4.0 * y.real() / std::norm(1.0 + y), r, 1.0 + r};
}

std::optional<double> grid_phase_velocity(double frequency_hz, double dx_m, double courant) {
    const std::optional<double> k = grid_wavenumber_rad_per_m(frequency_hz, 1.0, dx_m, courant);
    if (!k) return std::nullopt;
    return 2.0 * pi * frequency_hz / *k;
}

} // namespace lab
