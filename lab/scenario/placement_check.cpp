#include "lab/scenario/placement_check.h"

#include <algorithm>

#include "lab/scenario/keys.h"

namespace lab {

namespace {

using Problem = std::optional<ScenarioProblem>;

Problem problem(const std::string& key, const std::string& message) {
    return ScenarioProblem{key, message};
}

std::string cells(int first, int last) {
    return "cells " + std::to_string(first) + ".." + std::to_string(last);
}

std::string layer_name(const Discretisation& d, int cell) {
    const std::size_t i = *d.materials.layer_at(cell);
    return "layer " + std::to_string(i + 1);
}

std::size_t probe_index(const Scenario& s, const std::string& name) {
    for (std::size_t i = 0; i < s.probes.size(); ++i)
        if (s.probes[i].name == name) return i;
    return 0;
}

//-----------------------------------------------------------------------------
// [SECTION] The pml ends
//-----------------------------------------------------------------------------

// Cells outside both pml ends: the only ones where fields are not being absorbed.
struct OpenCells {
    int first, last;
    bool holds(int cell) const { return cell >= first && cell <= last; }
};

OpenCells open_cells(const Scenario& s) {
    return {s.pml_cells(Side::left), s.grid.cells - 1 - s.pml_cells(Side::right)};
}

Problem probe_in_pml(const Scenario& s) {
    const OpenCells open = open_cells(s);
    for (std::size_t i = 0; i < s.probes.size(); ++i)
        if (!open.holds(s.probes[i].cell))
            return problem(key::at(key::probe, i, key::cell),
                           "probe '" + s.probes[i].name + "' at cell " +
                               std::to_string(s.probes[i].cell) +
                               " lies inside a pml, which absorbs what it would record; "
                               "allowed: " +
                               cells(open.first, open.last));
    return std::nullopt;
}

// A layer may run through a pml to the grid's end (a half-space); an interface inside one
// reflects what the pml should absorb.
Problem layer_in_pml(const Scenario& s) {
    const OpenCells open = open_cells(s);
    const int end = s.grid.cells - 1;
    for (std::size_t i = 0; i < s.layers.size(); ++i) {
        const Layer& l = s.layers[i];
        const std::string name = "layer " + std::to_string(i + 1);
        const std::string advice = "; keep its faces in " + cells(open.first, open.last) +
                                   ", or run it to the grid's end cell as a half-space";
        if ((l.first < open.first && l.first != 0) || l.first > open.last)
            return problem(key::at(key::layer, i, key::first),
                           name + " starts inside a pml at cell " + std::to_string(l.first) +
                               advice);
        if ((l.last > open.last && l.last != end) || l.last < open.first)
            return problem(key::at(key::layer, i, key::last),
                           name + " ends inside a pml at cell " + std::to_string(l.last) + advice);
    }
    return std::nullopt;
}

//-----------------------------------------------------------------------------
// [SECTION] Source and probes of a spectrum
//-----------------------------------------------------------------------------

struct StackExtent {
    int front;            // first cell of the first layer
    int back;             // last cell of the last layer
    int last_layer_front; // first cell of the layer holding the back
    bool half_space;      // the last layer runs to the grid's end
};

StackExtent extent_of(const Scenario& s) {
    const auto by_first = [](const Layer& a, const Layer& b) { return a.first < b.first; };
    const auto by_last = [](const Layer& a, const Layer& b) { return a.last < b.last; };
    const Layer& front = *std::min_element(s.layers.begin(), s.layers.end(), by_first);
    const Layer& back = *std::max_element(s.layers.begin(), s.layers.end(), by_last);
    return {front.first, back.last, back.first, back.last == s.grid.cells - 1};
}

// Source and reflected probe: vacuum before the first layer.
Problem before_layers(const Discretisation& d, const StackExtent& stack, const std::string& key,
                      const std::string& what, int cell) {
    const std::string where = "; for a [spectrum] it must sit in vacuum before the first "
                              "layer (cells below " +
                              std::to_string(stack.front) + ")";
    if (d.materials.layer_at(cell))
        return problem(key, what + " at cell " + std::to_string(cell) + " lies in " +
                                layer_name(d, cell) + where);
    if (cell >= stack.front)
        return problem(key, what + " at cell " + std::to_string(cell) +
                                " lies beyond the first layer's front face" + where);
    return std::nullopt;
}

Problem transmitted_beyond_layers(const Scenario& s, const StackExtent& stack) {
    const std::string& name = s.spectrum->transmitted;
    const std::size_t i = probe_index(s, name);
    const int cell = s.probes[i].cell;
    const std::string what = "the transmitted probe '" + name + "' at cell " + std::to_string(cell);
    if (stack.half_space && cell <= stack.last_layer_front)
        return problem(key::at(key::probe, i, key::cell),
                       what +
                           " must sit inside the last layer, which runs to the grid's end, "
                           "past its front face (cells above " +
                           std::to_string(stack.last_layer_front) + ")");
    if (!stack.half_space && cell <= stack.back)
        return problem(key::at(key::probe, i, key::cell),
                       what + " must sit beyond the last layer (cells above " +
                           std::to_string(stack.back) + ")");
    return std::nullopt;
}

Problem probes_apart(const Scenario& s) {
    const SpectrumSettings& sp = *s.spectrum;
    if (sp.reflected == sp.transmitted)
        return problem(key::at(key::spectrum, key::transmitted),
                       "reflected and transmitted name the same probe '" + sp.reflected +
                           "'; R and T need two probes, the reflected one on the left");
    const std::size_t r = probe_index(s, sp.reflected), t = probe_index(s, sp.transmitted);
    if (s.probes[r].cell >= s.probes[t].cell)
        return problem(key::at(key::probe, t, key::cell),
                       "the transmitted probe '" + sp.transmitted + "' at cell " +
                           std::to_string(s.probes[t].cell) +
                           " must lie right of the reflected probe '" + sp.reflected + "' (cell " +
                           std::to_string(s.probes[r].cell) + ")");
    return std::nullopt;
}

Problem spectrum_placement(const Scenario& s, const Discretisation& d) {
    if (s.source.type == SourceType::hard)
        return problem(key::at(key::source, key::type),
                       "a hard source is a wall: what the layers reflect bounces back from "
                       "it, so R and T of a [spectrum] mean nothing; use type = \"soft\" or "
                       "\"tfsf\"");
    if (Problem p = probes_apart(s)) return p;
    if (s.layers.empty()) return std::nullopt;
    const StackExtent stack = extent_of(s);
    if (Problem p =
            before_layers(d, stack, key::at(key::source, key::cell), "the source", s.source.cell))
        return p;
    const std::size_t r = probe_index(s, s.spectrum->reflected);
    if (Problem p =
            before_layers(d, stack, key::at(key::probe, r, key::cell),
                          "the reflected probe '" + s.probes[r].name + "'", s.probes[r].cell))
        return p;
    return transmitted_beyond_layers(s, stack);
}

} // namespace

std::optional<ScenarioProblem> placement_problem(const Scenario& s, const Discretisation& d) {
    if (Problem p = probe_in_pml(s)) return p;
    if (Problem p = layer_in_pml(s)) return p;
    if (s.spectrum) return spectrum_placement(s, d);
    return std::nullopt;
}

} // namespace lab
