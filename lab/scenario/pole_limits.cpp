#include "lab/scenario/pole_limits.h"

#include "lab/scenario/constants.h"

namespace lab {

double steps_per_pole_period(const Pole& pole, double dt_s) {
    switch (pole.kind) {
    case PoleKind::debye:
        return 2.0 * pi * pole.relaxation_time_s / dt_s;
    case PoleKind::drude:
        return 1.0 / (pole.plasma_frequency_hz * dt_s);
    default:
        return 1.0 / (pole.resonance_frequency_hz * dt_s);
    }
}

double nyquist_permittivity(const Layer& layer, double dt_s) {
    double eps = layer.eps_r;
    for (const Pole& pole : layer.poles) {
        if (pole.kind == PoleKind::drude) {
            const double half_wp_dt = pi * pole.plasma_frequency_hz * dt_s;
            eps -= half_wp_dt * half_wp_dt;
        } else if (pole.kind == PoleKind::lorentz) {
            const double w0_dt = 2.0 * pi * pole.resonance_frequency_hz * dt_s;
            eps -= pole.delta_eps * w0_dt * w0_dt / (4.0 - w0_dt * w0_dt);
        }
    }
    return eps;
}

} // namespace lab
