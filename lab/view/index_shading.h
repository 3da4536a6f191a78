// How the live view shades layers by refractive index n = sqrt(eps_r mu_r): from the palest
// blue (n = 1) to the deepest (the scenario's largest index), so that a coating shows apart
// from its substrate and a stack's alternation shows; and the colour scale a bar beside the
// plot shows for it. Plain arithmetic, tested without a window.
#pragma once

#include <array>
#include <vector>

#include "lab/scenario/scenario.h"

namespace lab::view {

using Shade = std::array<float, 3>; // red, green, blue in 0..1

// Each layer's index, in the scenario's order.
std::vector<double> layer_indices(const Scenario& scenario);

// The largest index of the layers, at least 1.
double largest_index(const Scenario& scenario);

// The shade of index n on a scale that ends at largest (n = 1 the palest).
Shade index_shade(double n, double largest);

// Each layer's shade, in the scenario's order.
std::vector<Shade> layer_shades(const Scenario& scenario);

// The scale from n = 1 to largest in `entries` even steps, for a colour bar.
std::vector<Shade> index_scale(double largest, int entries);

// Whether a colour bar is worth showing: some layer is denser than vacuum.
bool index_bar_shown(const Scenario& scenario);

} // namespace lab::view
