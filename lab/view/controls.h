// The live view's controls without a window: commands, key tables (a key's binding and its
// help in one row), the ladder of steps per frame, the frame pacing, and the cycles of
// boundaries, sources and waveforms.
#pragma once

#include <chrono>
#include <optional>
#include <string>
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

// One row of a page's key table: a key, what it does, and how the help shows it. A row
// with a meaning starts a help line; a row with only a name joins the line above ("space,
// r"); a row with neither is bound but not shown. The mouse has rows of help bound to no key.
struct KeyBinding {
    unsigned char key;
    Command command;
    const char* name = nullptr;
    const char* meaning = nullptr;
};
using KeyTable = std::vector<KeyBinding>;

// The key of the rows that only explain what the mouse does; it is bound to nothing.
constexpr unsigned char mouse_row = 0;

// What a command leaves for the window to carry out, beside what it changes in a page.
enum class Effect { none, export_eps, export_pictures, toggle_gif, write_csv, quit };

Command command_for_key(const KeyTable& table, unsigned char key);

struct KeyHelp {
    std::string keys;
    const char* meaning;
};
// The table's help lines, in its order.
std::vector<KeyHelp> key_help(const KeyTable& table);

// The keys of the fields along the line, and their help lines.
const KeyTable& line_keys();
const std::vector<KeyHelp>& line_key_help();

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
