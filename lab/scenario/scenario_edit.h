// Changes one value of a scenario's TOML text by its key path ("grid.cells", "layer[0].eps_r",
// the paths the error messages use) and reads the result back, so that an edited scenario
// is checked, and its errors located, exactly as the file would be.
#pragma once

#include <string>
#include <string_view>

#include "lab/scenario/scenario.h"

namespace lab {

// A value written as TOML, ready to stand after "key = ".
std::string toml_literal(bool value);
std::string toml_literal(long long value);
std::string toml_literal(double value);
std::string toml_literal(const std::string& value);
// A word from a command line: kept when it is already a TOML value (350, 2.25, true,
// "abc"), else written as a string (abc becomes "abc").
std::string toml_literal_from_word(const std::string& word);

// The text with the value at key_path replaced by literal: in place when the key is
// written there, on the line after its table's header when the table has no such key, in
// a new table at the end when a plain table such as [boundary] is missing. Every other
// byte stays as it was. Throws ScenarioFileError ("PATH: message") when the path names a
// table or an array of tables that is not there.
std::string with_value(std::string_view toml_text, const std::string& path,
                       const std::string& key_path, const std::string& literal);

// Parses and checks an edited text: what it returns can be run; ScenarioFileError with the
// file's position otherwise.
Scenario checked_scenario(std::string_view toml_text, const std::string& path);

} // namespace lab
