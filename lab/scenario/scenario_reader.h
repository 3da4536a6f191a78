// Reads a scenario from a TOML file. Every error names the file, line and column it comes
// from (as far as they are known) and, for a choice, the values allowed.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

#include "lab/scenario/scenario.h"

namespace lab {

// A scenario file that cannot be read, parsed or run; what() is "FILE:LINE:COLUMN: message".
class ScenarioFileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Parses the text of a scenario; path is used in messages. Types and known keys are checked
// here, the scenario as a whole is not (see first_problem).
Scenario parse_scenario(std::string_view text, const std::string& path);

// The largest scenario file read; larger ones, and anything not a regular file, are refused.
constexpr std::size_t max_scenario_bytes = std::size_t{16} << 20;

// Reads, parses and checks a scenario file: what it returns can be run.
Scenario load_scenario(const std::string& path);

} // namespace lab
