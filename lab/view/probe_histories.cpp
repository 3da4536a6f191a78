#include "lab/view/probe_histories.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

namespace lab::view {

//-----------------------------------------------------------------------------
// [SECTION] The overview: buckets of steps
//-----------------------------------------------------------------------------

void StepOverview::clear() {
    buckets_.clear();
    bucket_steps_ = 1;
    steps_in_open_ = 0;
}

void StepOverview::add(double step, double value) {
    const Point p{step, value};
    if (steps_in_open_ == 0) {
        buckets_.push_back({p, p, p, p});
    } else {
        Bucket& open = buckets_.back();
        if (value < open.lowest.value) open.lowest = p;
        if (value > open.highest.value) open.highest = p;
        open.last = p;
    }
    if (++steps_in_open_ < bucket_steps_) return;
    steps_in_open_ = 0;
    if (buckets_.size() >= overview_buckets) halve();
}

// Ties go to the earlier point, as in a bucket filled step by step.
StepOverview::Bucket StepOverview::merged(const Bucket& a, const Bucket& b) {
    return {a.first, b.lowest.value < a.lowest.value ? b.lowest : a.lowest,
            b.highest.value > a.highest.value ? b.highest : a.highest, b.last};
}

// Every bucket is complete here: pairs become one bucket of twice the steps.
void StepOverview::halve() {
    std::size_t kept = 0;
    for (std::size_t i = 0; i + 1 < buckets_.size(); i += 2)
        buckets_[kept++] = merged(buckets_[i], buckets_[i + 1]);
    buckets_.resize(kept);
    bucket_steps_ *= 2;
}

void StepOverview::points(std::vector<double>& steps, std::vector<double>& values) const {
    steps.clear();
    values.clear();
    for (const Bucket& b : buckets_) {
        std::array<Point, 4> kept{b.first, b.lowest, b.highest, b.last};
        std::sort(kept.begin(), kept.end(),
                  [](const Point& l, const Point& r) { return l.step < r.step; });
        for (std::size_t k = 0; k < kept.size(); ++k) {
            if (k > 0 && kept[k].step == kept[k - 1].step) continue;
            steps.push_back(kept[k].step);
            values.push_back(kept[k].value);
        }
    }
}

//-----------------------------------------------------------------------------
// [SECTION] Exact values of the latest steps, and the overview of each probe
//-----------------------------------------------------------------------------

void ProbeHistories::clear(std::size_t probes) {
    series_.assign(probes, Series{});
    steps_ = 0;
    ez_peak_ = 0;
}

void ProbeHistories::follow(int steps_done, std::size_t probes) {
    if (probes != series_.size() || steps_done < 0 || static_cast<std::size_t>(steps_done) < steps_)
        clear(probes);
}

void ProbeHistories::record(const std::vector<ProbeRecord>& probes, int step) {
    if (probes.size() != series_.size() || step < 0 || static_cast<std::size_t>(step) != steps_)
        clear(probes.size());
    if (static_cast<std::size_t>(step) != steps_) return; // only a run from step 0 is kept
    for (std::size_t k = 0; k < probes.size(); ++k) {
        Series& s = series_[k];
        s.ez.push_back(probes[k].ez);
        s.hy.push_back(probes[k].hy);
        s.overview.add(static_cast<double>(step), probes[k].ez);
        ez_peak_ = std::max(ez_peak_, std::fabs(probes[k].ez)); // NaN leaves it
        if (s.ez.size() >= 2 * exact_history_steps) {
            const auto dropped = static_cast<std::ptrdiff_t>(exact_history_steps);
            s.ez.erase(s.ez.begin(), s.ez.begin() + dropped);
            s.hy.erase(s.hy.begin(), s.hy.begin() + dropped);
        }
    }
    ++steps_;
}

std::size_t ProbeHistories::exact_steps() const {
    return series_.empty() ? 0 : std::min(series_[0].ez.size(), exact_history_steps);
}

bool ProbeHistories::whole() const { return !series_.empty() && series_[0].ez.size() == steps_; }

double ProbeHistories::exact_ez(std::size_t probe, std::size_t k) const {
    const std::vector<double>& ez = series_[probe].ez;
    return ez[ez.size() - exact_steps() + k];
}

double ProbeHistories::exact_hy(std::size_t probe, std::size_t k) const {
    const std::vector<double>& hy = series_[probe].hy;
    return hy[hy.size() - exact_steps() + k];
}

} // namespace lab::view
