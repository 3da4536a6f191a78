// Values with units: a scenario takes lengths, frequencies and times as SI numbers or as
// strings such as "6 mm", "20 GHz" or "40 ps".
#pragma once

#include <optional>
#include <string>

namespace lab {

enum class Quantity { length, frequency, time };

// "m, mm, um, nm" and so on: the units a quantity may be written in.
std::string unit_names(Quantity quantity);

struct UnitValue {
    std::optional<double> si; // the value in m, Hz or s
    std::string problem;      // why the text is not a value of that quantity
};

// A number, spaces, and one of the quantity's units: "0.1 mm" gives 1e-4.
UnitValue parse_with_unit(const std::string& text, Quantity quantity);

} // namespace lab
