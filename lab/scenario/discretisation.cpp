#include "lab/scenario/discretisation.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numeric>

#include "lab/scenario/constants.h"

namespace lab {

CellMaterials::CellMaterials(std::vector<Layer> layers) : layers_(std::move(layers)) {
    by_first_.resize(layers_.size());
    std::iota(by_first_.begin(), by_first_.end(), std::size_t{0});
    std::sort(by_first_.begin(), by_first_.end(),
              [&](std::size_t a, std::size_t b) { return layers_[a].first < layers_[b].first; });
    for (std::size_t k = 1; k < by_first_.size(); ++k)
        if (layers_[by_first_[k]].first <= layers_[by_first_[k - 1]].last) {
            by_first_.clear(); // overlapping: the later layer wins, found by a plain search
            return;
        }
}

std::optional<std::size_t> CellMaterials::layer_at(int cell) const {
    const auto holds = [&](std::size_t i) {
        return cell >= layers_[i].first && cell <= layers_[i].last;
    };
    if (by_first_.size() != layers_.size()) {
        for (std::size_t i = layers_.size(); i-- > 0;)
            if (holds(i)) return i;
        return std::nullopt;
    }
    // The last layer that starts at or before the cell is the only one that may hold it.
    const auto after = std::upper_bound(by_first_.begin(), by_first_.end(), cell,
                                        [&](int c, std::size_t i) { return c < layers_[i].first; });
    if (after == by_first_.begin() || !holds(*std::prev(after))) return std::nullopt;
    return *std::prev(after);
}

Material CellMaterials::at(int cell) const {
    const std::optional<std::size_t> layer = layer_at(cell);
    return layer ? of_layer(*layer) : Material{};
}

Material CellMaterials::of_layer(std::size_t layer) const {
    const Layer& l = layers_[layer];
    return {l.eps_r, l.mu_r, l.sigma_s_per_m};
}

std::vector<MaterialSpan> CellMaterials::spans(int cells) const {
    // Every cell where a layer starts or the one after it ends begins a new span; between two
    // such edges the same layers hold every cell, so the first cell's answer is the span's.
    std::vector<int> edges{0, cells};
    for (const Layer& l : layers_)
        for (int edge : {l.first, l.last + 1})
            if (edge > 0 && edge < cells) edges.push_back(edge);
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    std::vector<MaterialSpan> spans;
    for (std::size_t k = 0; k + 1 < edges.size(); ++k)
        spans.push_back({edges[k], edges[k + 1] - 1, at(edges[k])});
    return spans;
}

double time_step_s(double courant, double dx_m) { return courant * dx_m / c0; }

double local_courant(double courant, const Material& m) {
    return courant / std::sqrt(m.eps_r * m.mu_r);
}

Discretisation::Discretisation(const Scenario& s, bool with_layers)
    : Discretisation(s.grid.cells, s.grid.cell_size_m, s.grid.courant) {
    if (with_layers) materials = CellMaterials(s.layers);
}

Discretisation::Discretisation(int cells, double dx_m, double courant)
    : cells(cells), dx_m(dx_m), courant(courant), dt_s(time_step_s(courant, dx_m)) {}

} // namespace lab
