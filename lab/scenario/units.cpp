#include "lab/scenario/units.h"

#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

namespace lab {

namespace {

using UnitTable = std::vector<std::pair<std::string, double>>; // name, size in SI units

const UnitTable& units_of(Quantity quantity) {
    static const UnitTable length = {{"m", 1.0}, {"mm", 1e-3}, {"um", 1e-6}, {"nm", 1e-9}};
    static const UnitTable frequency = {
        {"Hz", 1.0}, {"kHz", 1e3}, {"MHz", 1e6}, {"GHz", 1e9}, {"THz", 1e12}};
    static const UnitTable time = {{"s", 1.0},   {"ms", 1e-3},  {"us", 1e-6},
                                   {"ns", 1e-9}, {"ps", 1e-12}, {"fs", 1e-15}};
    switch (quantity) {
    case Quantity::length:
        return length;
    case Quantity::frequency:
        return frequency;
    case Quantity::time:
        return time;
    }
    return length;
}

const char* quantity_name(Quantity quantity) {
    switch (quantity) {
    case Quantity::length:
        return "length";
    case Quantity::frequency:
        return "frequency";
    case Quantity::time:
        return "time";
    }
    return "";
}

std::string trimmed(const std::string& text) {
    const std::size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) return "";
    return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

} // namespace

std::string unit_names(Quantity quantity) {
    std::string names;
    for (const auto& [name, size] : units_of(quantity))
        names += (names.empty() ? "" : ", ") + name;
    return names;
}

UnitValue parse_with_unit(const std::string& text, Quantity quantity) {
    const std::string usage = std::string("a ") + quantity_name(quantity) +
                              " is a number or a string like \"" +
                              (quantity == Quantity::length      ? "6 mm"
                               : quantity == Quantity::frequency ? "20 GHz"
                                                                 : "40 ps") +
                              "\"; units: " + unit_names(quantity);
    const char* begin = text.c_str();
    char* end = nullptr;
    const double number = std::strtod(begin, &end);
    if (end == begin || !std::isfinite(number))
        return {std::nullopt, "'" + text + "' does not start with a number; " + usage};
    const std::string unit = trimmed(end);
    for (const auto& [name, size] : units_of(quantity))
        if (unit == name) return {number * size, ""};
    return {std::nullopt, "unknown unit '" + unit + "' in '" + text + "'; " + usage};
}

} // namespace lab
