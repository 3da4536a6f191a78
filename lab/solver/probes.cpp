#include "lab/solver/probes.h"

#include <algorithm>
#include <cmath>

#include "lab/scenario/constants.h"

namespace lab {

namespace {

// The kernel turns by one complex multiplication a step instead of a sine and a cosine per
// frequency; every this many steps it is taken afresh, so that the rounding of the turns
// cannot pile up (the sums stay within about 1e-14 of those of a kernel taken every step).
constexpr int kernel_fresh_every_steps = 32;

// a b, written out: std::complex's operator* also sorts out infinities and NaNs, at several
// times the cost, and neither factor here can hold one.
std::complex<double> product(std::complex<double> a, std::complex<double> b) {
    return {a.real() * b.real() - a.imag() * b.imag(), a.real() * b.imag() + a.imag() * b.real()};
}

} // namespace

Probes::Probes(const Scenario& s, const Discretisation& grid, bool keep_history)
    : dt_s_(grid.dt_s), keep_history_(keep_history) {
    if (s.spectrum) frequencies_hz_ = spectrum_frequencies(*s.spectrum);
    kernel_.resize(frequencies_hz_.size());
    for (double f_hz : frequencies_hz_)
        rotation_.push_back(std::polar(1.0, -2.0 * pi * f_hz * dt_s_));
    for (const Probe& p : s.probes) {
        ProbeRecord record;
        record.name = p.name;
        record.cell = p.cell;
        record.ez_spectrum.assign(frequencies_hz_.size(), 0.0);
        records_.push_back(std::move(record));
    }
}

// The kernel exp(-i 2 pi f t) dt at t = (n + 1) dt, the time Ez belongs to after step n.
void Probes::advance_kernel(int n) {
    const bool fresh = n != kernel_step_ + 1 || n % kernel_fresh_every_steps == 0;
    kernel_step_ = n;
    if (!fresh) {
        for (std::size_t k = 0; k < kernel_.size(); ++k)
            kernel_[k] = product(kernel_[k], rotation_[k]);
        return;
    }
    const double t_s = (n + 1) * dt_s_;
    for (std::size_t k = 0; k < kernel_.size(); ++k)
        kernel_[k] = std::polar(dt_s_, -2.0 * pi * frequencies_hz_[k] * t_s);
}

void Probes::after_e(FieldArrays& f, int n) {
    advance_kernel(n);
    for (ProbeRecord& r : records_) {
        const auto cell = static_cast<std::size_t>(r.cell);
        r.ez = f.ez[cell];
        r.hy = f.hy[cell];
        if (keep_history_) {
            r.ez_history.push_back(r.ez);
            r.hy_history.push_back(r.hy);
        }
        for (std::size_t k = 0; k < kernel_.size(); ++k)
            r.ez_spectrum[k] += r.ez * kernel_[k];
    }
}

void Probes::clear() {
    kernel_step_ = -1;
    for (ProbeRecord& r : records_) {
        r.ez = r.hy = 0.0;
        r.ez_history.clear();
        r.hy_history.clear();
        std::fill(r.ez_spectrum.begin(), r.ez_spectrum.end(), 0.0);
    }
}

} // namespace lab
