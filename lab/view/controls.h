// The live view's controls without a window: keys and what they mean, the ladder of steps
// per frame, the frame pacing, and the cycles of boundaries, sources and waveforms.
#pragma once

#include <chrono>
#include <optional>
#include <vector>

#include "lab/scenario/scenario.h"

namespace lab::view {

//-----------------------------------------------------------------------------
// [SECTION] Keys
//-----------------------------------------------------------------------------

enum class Command {
    none,
    run_pause,
    one_step,
    faster,
    slower,
    reset,
    cycle_left_end,
    cycle_right_end,
    cycle_source,
    cycle_waveform,
    toggle_materials,
    toggle_help,
    export_eps,
    export_pictures,
    toggle_gif,
    write_csv,
    quit,
};

Command command_for_key(unsigned char key);

struct KeyHelp {
    const char* keys;
    const char* meaning;
};
// Every key with its meaning, in the order the help shows them.
const std::vector<KeyHelp>& key_help();

//-----------------------------------------------------------------------------
// [SECTION] Steps per frame and pacing
//-----------------------------------------------------------------------------

// Steps per frame run along 1, 2, 5, 10, 20, 50, ... up to this.
constexpr int max_steps_per_frame = 100000;
int more_steps_per_frame(int steps);
int fewer_steps_per_frame(int steps);

// However fast the machine, a run is shown at no more frames per second than this.
constexpr int max_frames_per_second = 60;

class FramePacer {
  public:
    using Clock = std::chrono::steady_clock;
    // How long to wait before the next frame may start; zero when it is due.
    Clock::duration wait_before_frame(Clock::time_point now) const;
    void frame_started(Clock::time_point now) { last_frame_ = now; }
    void forget() { last_frame_.reset(); } // the next frame is due at once

  private:
    std::optional<Clock::time_point> last_frame_;
};

//-----------------------------------------------------------------------------
// [SECTION] Cycles of choices
//-----------------------------------------------------------------------------

Boundary next_boundary(Boundary boundary);
SourceType next_source_type(SourceType type);
Waveform next_waveform(Waveform waveform);

} // namespace lab::view
