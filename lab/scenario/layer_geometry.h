// Layers described as optics does (start and thickness in metres, refractive index, quarter
// waves) turned into the whole cells the grid holds, and what the rounding changed.
#pragma once

#include <string>
#include <vector>

#include "lab/scenario/scenario.h"

namespace lab {

// A rounded thickness further than this (relative) from the one written is reported.
constexpr double thickness_note_threshold = 0.01;

// n = sqrt(eps_r mu_r).
double refractive_index(double eps_r, double mu_r);

// c0 / (4 n f): the thickness that holds a quarter of the wavelength at f.
double quarter_wave_thickness_m(double frequency_hz, double index);

// The Ez node nearest to x (x = 0 at node 0).
int cell_at(double x_m, double dx_m);

// Whole cells nearest to a thickness; 0 when it is below half a cell.
int cells_in(double thickness_m, double dx_m);

// One line per layer whose cells differ from its written thickness by more than
// thickness_note_threshold: "layer 2: cells 300..326, 2.7 mm (written 2.65 mm)".
std::vector<std::string> rounding_notes(const Scenario& scenario);

} // namespace lab
