// A periodic stack ([[stack]] with start, repeat and its [[stack.layer]] entries) written
// out as the layers it stands for, back to back from its start.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "lab/scenario/scenario.h"

namespace lab {

// Most layers one stack may expand to: far beyond any mirror, short of exhausting memory.
constexpr int max_stack_layers = 100'000;

struct StackEntry {
    Layer layer;      // material and written thickness; cells are placed on expansion
    int cells = 0;    // whole cells of its thickness
    std::string path; // key path of the entry ("stack[0].layer[1]"), for positions
};

struct StackDescription {
    double start_m = 0.0; // x of the first layer's front face
    int repeat = 1;
    std::vector<StackEntry> entries;
    std::string path; // "stack[0]"
};

// Why repeat cannot be expanded, with the range allowed; nothing when it can.
std::optional<std::string> repeat_problem(const StackDescription& stack);

// Appends the stack's layers to the scenario, period after period. Each layer's values are
// located at its entry in the file, so that the checks point there.
void expand_stack(const StackDescription& stack, Scenario& scenario);

} // namespace lab
