#include "lab/solver/probes.h"

#include <cmath>

#include "lab/scenario/constants.h"

namespace lab {

Probes::Probes(const Scenario& s, const Discretisation& grid, bool keep_history)
    : dt_s_(grid.dt_s), keep_history_(keep_history) {
    if (s.spectrum) frequencies_hz_ = spectrum_frequencies(*s.spectrum);
    kernel_.resize(frequencies_hz_.size());
    for (const Probe& p : s.probes) {
        ProbeRecord record;
        record.name = p.name;
        record.cell = p.cell;
        record.ez_spectrum.assign(frequencies_hz_.size(), 0.0);
        records_.push_back(std::move(record));
    }
}

void Probes::after_e(FieldArrays& f, int n) {
    const double t = (n + 1) * dt_s_;
    for (std::size_t k = 0; k < frequencies_hz_.size(); ++k)
        kernel_[k] = std::polar(dt_s_, -2.0 * pi * frequencies_hz_[k] * t);
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
    for (ProbeRecord& r : records_) {
        r.ez = r.hy = 0.0;
        r.ez_history.clear();
        r.hy_history.clear();
        std::fill(r.ez_spectrum.begin(), r.ez_spectrum.end(), 0.0);
    }
}

} // namespace lab
