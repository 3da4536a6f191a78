// What the live view keeps of its probes after each step, bounded however long the run:
// every value of the latest steps (for probes.csv and the time plot), and the whole run
// cut to buckets of steps, each bucket its first, lowest, highest and last value (for the
// time plot of a run longer than the exact part). Plain arithmetic: no OpenGL here.
#pragma once

#include <cstddef>
#include <vector>

#include "lab/solver/probes.h"

namespace lab::view {

// Steps whose exact values the view keeps: probes.csv holds the last this many.
constexpr std::size_t exact_history_steps = 1'000'000;
// The overview of a longer run never holds more buckets than this (four points each).
constexpr std::size_t overview_buckets = 8192;

// One probe's values over the whole run, reduced to buckets of a power of two steps.
class StepOverview {
  public:
    void clear();
    void add(double step, double value); // steps in order, one after the other
    // The kept points in step order: x the step, y the value.
    void points(std::vector<double>& steps, std::vector<double>& values) const;
    std::size_t bucket_steps() const { return bucket_steps_; }

  private:
    struct Point {
        double step = 0, value = 0;
    };
    struct Bucket {
        Point first, lowest, highest, last;
    };
    static Bucket merged(const Bucket& a, const Bucket& b);
    void halve();

    std::vector<Bucket> buckets_; // the last one open while it has fewer than bucket_steps_
    std::size_t bucket_steps_ = 1;
    std::size_t steps_in_open_ = 0;
};

class ProbeHistories {
  public:
    // Forgets everything: the run restarted, or its probes changed.
    void clear(std::size_t probes);
    // The probes' values after step (counted from 0); a step that does not follow the last
    // one recorded starts the histories again.
    void record(const std::vector<ProbeRecord>& probes, int step);
    // Starts again when the run went back before the steps recorded (a reset or restart).
    void follow(int steps_done, std::size_t probes);

    std::size_t steps() const { return steps_; } // recorded since step 0
    double ez_peak() const { return ez_peak_; }  // largest |Ez| of any probe since step 0
    // The exact part: the values of steps first_exact_step() .. steps() - 1.
    std::size_t exact_steps() const;
    std::size_t first_exact_step() const { return steps_ - exact_steps(); }
    double exact_ez(std::size_t probe, std::size_t k) const; // k counts from first_exact_step
    double exact_hy(std::size_t probe, std::size_t k) const;
    // Whether every value since step 0 is still kept, so the time plot can show them all.
    bool whole() const;
    // Every Ez of a probe kept, from step 0 when whole().
    const std::vector<double>& ez(std::size_t probe) const { return series_[probe].ez; }
    const StepOverview& overview(std::size_t probe) const { return series_[probe].overview; }
    std::size_t probes() const { return series_.size(); }

  private:
    struct Series {
        // The exact values: between exact_history_steps and twice that once the run is
        // longer, the oldest half dropped at once so that keeping them stays cheap per step.
        std::vector<double> ez, hy;
        StepOverview overview;
    };
    std::vector<Series> series_;
    std::size_t steps_ = 0;
    double ez_peak_ = 0;
};

} // namespace lab::view
