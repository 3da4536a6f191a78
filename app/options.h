// The command line of fdtd1d: what a run shows, and the keys its window answers to.
#pragma once

#include <optional>

struct Options {
    bool tidy = false; // the tidy layout with axis labels, units and legends
};

// Parses the command line. Empty when the program should end at once with exit_code:
// after --help (0) or a bad option (non-zero); CLI11 has printed what to say.
std::optional<Options> parse_options(int argc, char** argv, int& exit_code);
