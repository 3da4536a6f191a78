// `fdtd-lab view` (also `fdtd-lab` alone) and `fdtd-lab record`: the live window and the
// unattended recording of a scenario as an animated GIF. Both need an X display.
#pragma once

#include <string>

#include "lab/view/window.h"

namespace lab::view {

// --scale: text and line widths this many times their size; 0 follows the window's height.
constexpr double largest_scale = 10;

struct ViewOptions {
    std::string scenario_path; // empty: the slab scenario shipped with the lab
    double scale = 0;
};

struct RecordOptions {
    std::string scenario_path;
    std::string gif_path;
    int every = 0;     // steps per frame; 0 picks about default_recording_frames frames
    int from_step = 0; // the first frame's step
    int to_step = -1;  // the last frame's step; -1: when the fields have left the grid
    double fps = 1000.0 / gif_frame_interval_ms;
    bool status_shown = true;
    double scale = 0;
};

constexpr int default_recording_frames = 150;
constexpr double largest_recording_fps = 50.0; // GIF delays are whole hundredths of a second

// The environment variable naming a folder of scenarios to use instead of the shipped one.
constexpr const char* scenario_folder_variable = "FDTD_LAB_SCENARIOS";

// The slab scenario: from FDTD_LAB_SCENARIOS, else installed beside the program
// (../share/fdtd-lab/scenarios), else the source tree it was built from.
std::string default_scenario_path();

int run_view(const ViewOptions& options);
int run_record(const RecordOptions& options);

// What is wrong with the text given to --scale; empty when it is a number above 0 and at
// most largest_scale.
std::string scale_problem(const std::string& text);

// The keys, for --help.
std::string keys_help();

} // namespace lab::view
