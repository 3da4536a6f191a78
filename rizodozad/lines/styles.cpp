// Style tokens and string properties of records, addressed by handle.
#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "rizodozad/rizodozad.h"

namespace rizodozad {

namespace {

//-----------------------------------------------------------------------------
// [SECTION] Style tokens
//-----------------------------------------------------------------------------

constexpr std::array<const char*, 4> line_style_tokens{"-", "- -", ":", "-."};

constexpr std::array<const char*, 14> marker_tokens{".", "+", "x", "d", "^", "v", "o",
                                                    "*", "s", ">", "<", "p", "h", "|"};

constexpr const char* no_style = "none";

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

const std::array<PropertyKey<Axes>, 1> axes_keys{{{"TickDir", &Axes::tick_dir}}};

const std::array<PropertyKey<Line>, 6> line_keys{{
    {"COLOR", &Line::color, &Line::marker_edge_color},
    {"Color", &Line::color},
    {"Marker", &Line::marker},
    {"LineStyle", &Line::line_style},
    {"MarkerEdgeColor", &Line::marker_edge_color},
    {"MarkerFaceColor", &Line::marker_face_color},
}};

const std::array<PropertyKey<Surface>, 4> surface_keys{{
    {"COLOR", &Surface::edge_color},
    {"EdgeColor", &Surface::edge_color},
    {"FaceColor", &Surface::face_color},
    {"LineStyle", &Surface::line_style},
}};

const std::array<PropertyKey<Patch>, 4> patch_keys{{
    {"COLOR", &Patch::edge_color},
    {"EdgeColor", &Patch::edge_color},
    {"FaceColor", &Patch::face_color},
    {"LineStyle", &Patch::line_style},
}};

// Assigns value through the keys matching property; an index outside the list is ignored.
template <class Record, std::size_t N>
void assign(std::vector<Record>& list, int index, const std::array<PropertyKey<Record>, N>& keys,
            const std::string& property, const std::string& value) {
    if (index < 0 || static_cast<std::size_t>(index) >= list.size()) return;
    Record& record = list[static_cast<std::size_t>(index)];
    for (const auto& key : keys) {
        if (property != key.key) continue;
        record.*key.member = value;
        if (key.also != nullptr) record.*key.also = value;
    }
}

} // namespace

// One whole token applies to the object created last; anything else is ignored.
void ZarIdor::set(std::string style) {
    const int handle = last_handle;
    if (is_color_name(style)) {
        set(handle, "COLOR", style);
    } else if (is_token(style, line_style_tokens)) {
        set(handle, "LineStyle", style);
        set(handle, "Marker", no_style);
    } else if (is_token(style, marker_tokens)) {
        set(handle, "Marker", style);
        set(handle, "LineStyle", no_style);
    }
}

void ZarIdor::set(int handle, std::string property, std::string value) {
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

} // namespace rizodozad
