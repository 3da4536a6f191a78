// The names of a scenario file's tables and keys, and the key paths built from them
// ("grid.cells", "layer[1].last"). The reader records positions under these paths and the
// checks report problems under them: both spell every name through this one list.
#pragma once

#include <cstddef>
#include <string>

namespace lab::key {

//-----------------------------------------------------------------------------
// [SECTION] Tables
//-----------------------------------------------------------------------------

constexpr const char* grid = "grid";
constexpr const char* boundary = "boundary";
constexpr const char* source = "source";
constexpr const char* layer = "layer"; // [[layer]]: an array of tables
constexpr const char* probe = "probe"; // [[probe]]
constexpr const char* pole = "pole";   // [[layer.pole]], within a layer
constexpr const char* spectrum = "spectrum";
constexpr const char* stack = "stack"; // [[stack]], with [[stack.layer]] entries

//-----------------------------------------------------------------------------
// [SECTION] Keys, by table
//-----------------------------------------------------------------------------

constexpr const char* cells = "cells"; // [grid]
constexpr const char* cell_size = "cell_size";
constexpr const char* courant = "courant";
constexpr const char* steps = "steps";
constexpr const char* allow_unstable = "allow_unstable";

constexpr const char* left = "left"; // [boundary]
constexpr const char* right = "right";
constexpr const char* pml_cells = "pml_cells";

constexpr const char* type = "type"; // [source]
constexpr const char* cell = "cell"; // also [[probe]]
constexpr const char* waveform = "waveform";
constexpr const char* delay = "delay";
constexpr const char* width = "width";
constexpr const char* frequency = "frequency";
constexpr const char* ramp_periods = "ramp_periods";

constexpr const char* first = "first"; // [[layer]]
constexpr const char* last = "last";
constexpr const char* eps_r = "eps_r";
constexpr const char* mu_r = "mu_r";
constexpr const char* sigma = "sigma";
constexpr const char* start = "start"; // [[layer]] in metres, also [[stack]]
constexpr const char* thickness = "thickness";
constexpr const char* quarter_wave_at = "quarter_wave_at";
constexpr const char* n = "n"; // refractive index: eps_r = n^2, mu_r = 1

constexpr const char* repeat = "repeat"; // [[stack]]

constexpr const char* kind = "kind"; // [[layer.pole]]
constexpr const char* delta_eps = "delta_eps";
constexpr const char* relaxation_time = "relaxation_time";
constexpr const char* plasma_frequency = "plasma_frequency";
constexpr const char* collision_frequency = "collision_frequency";
constexpr const char* resonance_frequency = "resonance_frequency";
constexpr const char* damping_frequency = "damping_frequency";

constexpr const char* name = "name"; // [[probe]]

constexpr const char* f_min = "f_min"; // [spectrum]
constexpr const char* f_max = "f_max";
constexpr const char* points = "points";
constexpr const char* reflected = "reflected";
constexpr const char* transmitted = "transmitted";

//-----------------------------------------------------------------------------
// [SECTION] Key paths
//-----------------------------------------------------------------------------

constexpr char separator = '.';

// "layer[1]": one table of an array of tables.
inline std::string entry(const char* table, std::size_t index) {
    return std::string(table) + "[" + std::to_string(index) + "]";
}

// "grid.cells", or "layer[1].last" with the table path of an entry.
inline std::string at(const std::string& table_path, const char* field) {
    return table_path + separator + field;
}

inline std::string at(const char* table, std::size_t index, const char* field) {
    return at(entry(table, index), field);
}

// "layer[0].pole[1]": a table of an array of tables within an entry.
inline std::string nested_entry(const std::string& parent_path, const char* table,
                                std::size_t index) {
    return parent_path + separator + entry(table, index);
}

// "layer[0].pole[1].resonance_frequency".
inline std::string pole_at(std::size_t layer_index, std::size_t pole_index, const char* field) {
    return at(nested_entry(entry(layer, layer_index), pole, pole_index), field);
}

} // namespace lab::key
