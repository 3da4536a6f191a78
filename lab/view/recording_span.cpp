#include "lab/view/recording_span.h"

#include <algorithm>

namespace lab::view {

bool RecordingEnd::last_frame(const Progress& at) {
    if (at.finished) return true;
    if (span_.to_step) return at.step >= *span_.to_step;
    peak_energy_ = std::max(peak_energy_, at.field_energy_j_per_m2);
    return peak_energy_ > 0.0 && at.field_energy_j_per_m2 < left_grid_energy_share * peak_energy_;
}

int RecordingEnd::steps_to_next(const Progress& at) const {
    if (!span_.to_step) return span_.steps_per_frame;
    return std::max(1, std::min(span_.steps_per_frame, *span_.to_step - at.step));
}

void RecordedSteps::frame_at(int step) {
    if (runs_.empty() || step <= runs_.back().second)
        runs_.emplace_back(step, step);
    else
        runs_.back().second = step;
}

std::string RecordedSteps::text() const {
    std::string text;
    for (std::size_t k = 0; k < runs_.size(); ++k) {
        text += k == 0 ? "steps " : ", then ";
        text += std::to_string(runs_[k].first) + " to " + std::to_string(runs_[k].second);
        if (k > 0) text += " after a reset";
    }
    return text;
}

std::optional<const char*> span_problem(const RecordingSpan& span, int total_steps) {
    if (span.from_step < 0) return "--from must be at least 0";
    if (span.from_step >= total_steps) return "--from must be below the scenario's steps";
    if (span.to_step && *span.to_step <= span.from_step) return "--to must be after --from";
    if (span.to_step && *span.to_step > total_steps)
        return "--to must be at most the scenario's steps";
    return std::nullopt;
}

} // namespace lab::view
