// Which steps a recording shows: from a chosen step, a frame every so many steps, up to a
// chosen step or, by default, until the fields have left the grid (or the run ends), so a
// GIF does not loop over seconds of an empty line.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "lab/view/page.h"

namespace lab::view {

// Energy in the grid below this share of its peak so far: the line looks empty (the field
// plot's scale keeps its peak, so the fields are at most a hundredth of it).
constexpr double left_grid_energy_share = 1e-4;

struct RecordingSpan {
    int from_step = 0;
    std::optional<int> to_step; // nothing: until the fields have left the grid
    int steps_per_frame = 1;
};

class RecordingEnd {
  public:
    explicit RecordingEnd(const RecordingSpan& span) : span_(span) {}

    // After a frame taken at this progress: true when it was the last one.
    bool last_frame(const Progress& at);
    // Steps to take before the next frame, so that the last one lands on to_step.
    int steps_to_next(const Progress& at) const;

  private:
    RecordingSpan span_;
    double peak_energy_ = 0.0;
};

// The steps of a live recording's frames, as runs of rising steps: a reset while recording
// starts a new run, so that the summary never reads "steps 6 to 0".
class RecordedSteps {
  public:
    void frame_at(int step);
    // "steps 1 to 6", "steps 1 to 6, then 0 to 3 after a reset"; "" before any frame.
    std::string text() const;

  private:
    std::vector<std::pair<int, int>> runs_; // first and last step of each run
};

// Why a span cannot be recorded from a run of total_steps; nothing when it can.
std::optional<const char*> span_problem(const RecordingSpan& span, int total_steps);

} // namespace lab::view
