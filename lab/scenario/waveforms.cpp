#include "lab/scenario/waveforms.h"

#include <cmath>

#include "lab/scenario/constants.h"

namespace lab {

namespace {

double gaussian(double n, const SourceSettings& s) {
    const double u = (n - s.delay_steps) / s.width_steps;
    return std::exp(-u * u);
}

// Second derivative of a Gaussian, peak 1 at the delay, spectrum peaking at the frequency.
double ricker(double n, const SourceSettings& s, double dt_s) {
    const double a = pi * s.frequency_hz * (n - s.delay_steps) * dt_s;
    return (1.0 - 2.0 * a * a) * std::exp(-a * a);
}

// A sine switched on smoothly: the ramp rises as sin^2 over ramp_periods periods.
double ramped_sine(double n, const SourceSettings& s, double dt_s) {
    const double t = n * dt_s;
    const double ramp_s = s.ramp_periods / s.frequency_hz;
    const double ramp = t < ramp_s ? 0.5 * (1.0 - std::cos(pi * t / ramp_s)) : 1.0;
    return ramp * std::sin(2.0 * pi * s.frequency_hz * t);
}

double modulated(double n, const SourceSettings& s, double dt_s) {
    return gaussian(n, s) * std::sin(2.0 * pi * s.frequency_hz * (n - s.delay_steps) * dt_s);
}

} // namespace

double source_value(const SourceSettings& source, int n, double dt_s) {
    const double step = n;
    switch (source.waveform) {
    case Waveform::gaussian:
        return gaussian(step, source);
    case Waveform::ricker:
        return ricker(step, source, dt_s);
    case Waveform::sine:
        return ramped_sine(step, source, dt_s);
    case Waveform::modulated:
        return modulated(step, source, dt_s);
    }
    return 0.0;
}

} // namespace lab
