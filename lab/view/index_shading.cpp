#include "lab/view/index_shading.h"

#include <algorithm>
#include <cmath>

namespace lab::view {

namespace {

constexpr Shade palest_layer{0.92f, 0.95f, 1.0f};
constexpr Shade deepest_layer{0.6f, 0.72f, 1.0f};

} // namespace

std::vector<double> layer_indices(const Scenario& s) {
    std::vector<double> index;
    for (const Layer& l : s.layers)
        index.push_back(std::sqrt(l.eps_r * l.mu_r));
    return index;
}

double largest_index(const Scenario& s) {
    const std::vector<double> index = layer_indices(s);
    return std::max(1.0, index.empty() ? 1.0 : *std::max_element(index.begin(), index.end()));
}

Shade index_shade(double n, double largest) {
    const float t = largest > 1.0
                        ? static_cast<float>(std::clamp((n - 1.0) / (largest - 1.0), 0.0, 1.0))
                        : 0.0f;
    Shade shade{};
    for (std::size_t c = 0; c < shade.size(); ++c)
        shade[c] = palest_layer[c] + t * (deepest_layer[c] - palest_layer[c]);
    return shade;
}

std::vector<Shade> layer_shades(const Scenario& s) {
    const double largest = largest_index(s);
    std::vector<Shade> shades;
    for (double n : layer_indices(s))
        shades.push_back(index_shade(n, largest));
    return shades;
}

std::vector<Shade> index_scale(double largest, int entries) {
    std::vector<Shade> scale;
    for (int k = 0; k < entries; ++k) {
        const double fraction = entries > 1 ? static_cast<double>(k) / (entries - 1) : 0.0;
        scale.push_back(index_shade(1.0 + fraction * (largest - 1.0), largest));
    }
    return scale;
}

bool index_bar_shown(const Scenario& s) { return largest_index(s) > 1.0; }

} // namespace lab::view
