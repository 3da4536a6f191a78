// Exit statuses of fdtd-lab, shared by every subcommand.
#pragma once

namespace lab {

constexpr int exit_ok = 0;
constexpr int exit_failed = 1;        // output could not be written
constexpr int exit_bad_input = 2;     // bad scenario, option or output folder: nothing written
constexpr int exit_unstable = 3;      // the run blew up and stopped; fields and probes up to there
constexpr int exit_signal_base = 128; // 128 + the signal that stopped the run: nothing written

} // namespace lab
