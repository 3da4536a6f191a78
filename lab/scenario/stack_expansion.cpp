#include "lab/scenario/stack_expansion.h"

#include "lab/scenario/keys.h"
#include "lab/scenario/layer_geometry.h"
#include "lab/scenario/scenario_check.h"

#include <algorithm>

namespace lab {

namespace {

// Positions recorded under the entry's path ("stack[0].layer[1].n") also under the layer's.
void locate_at_entry(const std::string& entry_path, std::size_t layer, Scenario& s) {
    const std::string layer_path = key::entry(key::layer, layer);
    std::map<std::string, SourcePosition> copies;
    for (const auto& [path, position] : s.positions) {
        if (path == entry_path)
            copies[layer_path] = position;
        else if (path.compare(0, entry_path.size() + 1, entry_path + key::separator) == 0)
            copies[layer_path + path.substr(entry_path.size())] = position;
    }
    s.positions.insert(copies.begin(), copies.end());
}

} // namespace

std::optional<std::string> repeat_problem(const StackDescription& stack) {
    const int per_period = static_cast<int>(stack.entries.size());
    const int most = per_period > 0 ? max_stack_layers / per_period : max_stack_layers;
    if (stack.repeat < 1 || stack.repeat > most)
        return "repeat " + std::to_string(stack.repeat) + " is out of range; allowed: 1 to " +
               std::to_string(most) + " (at most " + std::to_string(max_stack_layers) + " layers)";
    return std::nullopt;
}

void expand_stack(const StackDescription& stack, Scenario& s) {
    const double dx = s.grid.cell_size_m;
    // Wide enough that a stack far too long for any grid is refused as such, not wrapped.
    long long next = dx > 0.0 ? cell_at(stack.start_m, dx) : 0;
    const long long limit = 4LL * max_cells;
    for (int period = 0; period < stack.repeat; ++period) {
        for (const StackEntry& entry : stack.entries) {
            Layer layer = entry.layer;
            layer.first = static_cast<int>(std::min(next, limit));
            layer.last = static_cast<int>(std::min(next + entry.cells - 1, limit));
            next += entry.cells;
            locate_at_entry(entry.path, s.layers.size(), s);
            s.layers.push_back(layer);
        }
    }
}

} // namespace lab
