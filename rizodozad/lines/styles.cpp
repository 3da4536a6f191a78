// Style tokens and string properties of records, addressed by handle.
#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "rizodozad/core/engine.h"

namespace rizodozad {

namespace {

//-----------------------------------------------------------------------------
// [SECTION] Style tokens
//-----------------------------------------------------------------------------

namespace key = vocabulary::key;

template <std::size_t N>
bool is_token(const std::string& style, const std::array<const char*, N>& tokens) {
    for (const char* token : tokens)
        if (style == token) return true;
    return false;
}

//-----------------------------------------------------------------------------
// [SECTION] Property keys by kind
//-----------------------------------------------------------------------------

// A key and the one or two string members it assigns.
template <class Record> struct PropertyKey {
    const char* key;
    std::string Record::*member;
    std::string Record::*also = nullptr;
};

const std::array<PropertyKey<Axes>, 1> axes_keys{{{key::tick_dir, &Axes::tick_dir}}};

const std::array<PropertyKey<Line>, 6> line_keys{{
    {key::color_and_edge, &Line::color, &Line::marker_edge_color},
    {key::color, &Line::color},
    {key::marker, &Line::marker},
    {key::line_style, &Line::line_style},
    {key::marker_edge_color, &Line::marker_edge_color},
    {key::marker_face_color, &Line::marker_face_color},
}};

const std::array<PropertyKey<Surface>, 4> surface_keys{{
    {key::color_and_edge, &Surface::edge_color},
    {key::edge_color, &Surface::edge_color},
    {key::face_color, &Surface::face_color},
    {key::line_style, &Surface::line_style},
}};

const std::array<PropertyKey<Patch>, 4> patch_keys{{
    {key::color_and_edge, &Patch::edge_color},
    {key::edge_color, &Patch::edge_color},
    {key::face_color, &Patch::face_color},
    {key::line_style, &Patch::line_style},
}};

// The record of a kind that a handle names, or nullptr when the index is outside the list.
template <class Record> Record* record_at(std::vector<Record>& list, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= list.size()) return nullptr;
    return &list[static_cast<std::size_t>(index)];
}

// Assigns value through the keys matching property; an index outside the list is ignored.
template <class Record, std::size_t N>
void assign(std::vector<Record>& list, int index, const std::array<PropertyKey<Record>, N>& keys,
            const std::string& property, const std::string& value) {
    Record* record = record_at(list, index);
    if (record == nullptr) return;
    for (const auto& key : keys) {
        if (property != key.key) continue;
        record->*key.member = value;
        if (key.also != nullptr) record->*key.also = value;
    }
}

template <class Record> void assign_width(std::vector<Record>& list, int index, float width) {
    if (Record* record = record_at(list, index)) record->line_width = width;
}

} // namespace

// One whole token applies to the object created last; anything else is ignored.
void Engine::set(std::string style) {
    const int handle = last_handle;
    if (is_color_name(style)) {
        set(handle, key::color_and_edge, style);
    } else if (is_token(style, vocabulary::line_styles)) {
        set(handle, key::line_style, style);
        set(handle, key::marker, vocabulary::none);
    } else if (is_token(style, vocabulary::markers)) {
        set(handle, key::marker, style);
        set(handle, key::line_style, vocabulary::none);
    }
}

void Engine::set(int handle, std::string property, std::string value) {
    const int index = handle_index(handle);
    switch (handle_kind(handle)) {
    case kind::axes:
        assign(axes_list, index, axes_keys, property, value);
        break;
    case kind::line:
        assign(line_list, index, line_keys, property, value);
        break;
    case kind::surface:
        assign(surface_list, index, surface_keys, property, value);
        break;
    case kind::patch:
        assign(patch_list, index, patch_keys, property, value);
        break;
    default:
        break; // figures, layers and texts have no string properties
    }
}

// Axes keep the width they were given: only what draws a line takes one.
void Engine::set_line_width(float width) {
    const int index = handle_index(last_handle);
    switch (handle_kind(last_handle)) {
    case kind::line:
        assign_width(line_list, index, width);
        break;
    case kind::surface:
        assign_width(surface_list, index, width);
        break;
    case kind::patch:
        assign_width(patch_list, index, width);
        break;
    default:
        break;
    }
}

void Engine::set_colormap(std::string name) {
    current_colormap = build_colormap(name);
    if (mode != display_mode::configuration) return;
    if (Surface* surface = current_surface.get()) surface->colormap_name = std::move(name);
}

} // namespace rizodozad
