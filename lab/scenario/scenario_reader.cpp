#include "lab/scenario/scenario_reader.h"

#include <toml++/toml.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <sstream>

#include "lab/scenario/keys.h"
#include "lab/scenario/scenario_check.h"

namespace lab {

namespace {

//-----------------------------------------------------------------------------
// [SECTION] Positions and errors
//-----------------------------------------------------------------------------

SourcePosition position_of(const toml::source_region& region) {
    return {static_cast<int>(region.begin.line), static_cast<int>(region.begin.column)};
}

[[noreturn]] void fail(const std::string& file, SourcePosition at, const std::string& message) {
    std::string where = file;
    if (at.line > 0) where += ":" + std::to_string(at.line) + ":" + std::to_string(at.column);
    throw ScenarioFileError(where + ": " + message);
}

const char* type_name(const toml::node& node) {
    switch (node.type()) {
    case toml::node_type::table:
        return "a table";
    case toml::node_type::array:
        return "an array";
    case toml::node_type::string:
        return "a string";
    case toml::node_type::integer:
        return "an integer";
    case toml::node_type::floating_point:
        return "a floating-point number";
    case toml::node_type::boolean:
        return "a boolean";
    default:
        return "a date or time";
    }
}

//-----------------------------------------------------------------------------
// [SECTION] One table: known keys, typed values, positions recorded
//-----------------------------------------------------------------------------

class TableReader {
  public:
    TableReader(const toml::table& table, std::string path, std::string title, Scenario& s)
        : table_(table), path_(std::move(path)), title_(std::move(title)), s_(s) {
        s_.positions[path_] = position_of(table.source());
    }

    void allow_only(const std::vector<std::string>& keys) const {
        for (auto&& [name, value] : table_) {
            if (std::find(keys.begin(), keys.end(), name.str()) == keys.end())
                fail(s_.file, position_of(name.source()),
                     "unknown key '" + std::string(name.str()) + "' in " + title_ +
                         "; allowed: " + joined(keys));
        }
    }

    template <class T> void required(const char* field, T& out) const {
        if (!read(field, out))
            fail(s_.file, position_of(table_.source()),
                 "missing key '" + std::string(field) + "' in " + title_);
    }

    bool read(const char* field, int& out) const {
        const toml::node* node = find(field);
        if (!node) return false;
        const auto* integer = node->as_integer();
        if (!integer) wrong_type(field, *node, "an integer");
        const int64_t value = integer->get();
        if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
            fail(s_.file, position_of(node->source()), std::string(field) + " is out of range");
        out = static_cast<int>(value);
        return true;
    }

    bool read(const char* field, double& out) const {
        const toml::node* node = find(field);
        if (!node) return false;
        if (const auto* integer = node->as_integer())
            out = static_cast<double>(integer->get());
        else if (const auto* real = node->as_floating_point())
            out = real->get();
        else
            wrong_type(field, *node, "a number");
        return true;
    }

    bool read(const char* field, bool& out) const {
        const toml::node* node = find(field);
        if (!node) return false;
        const auto* boolean = node->as_boolean();
        if (!boolean) wrong_type(field, *node, "true or false");
        out = boolean->get();
        return true;
    }

    bool read(const char* field, std::string& out) const {
        const toml::node* node = find(field);
        if (!node) return false;
        const auto* string = node->as_string();
        if (!string) wrong_type(field, *node, "a string");
        out = string->get();
        return true;
    }

    template <class Enum>
    void choice(const char* field, Enum& out, const std::vector<std::string>& names,
                const std::function<std::optional<Enum>(const std::string&)>& lookup) const {
        std::string name;
        if (!read(field, name)) return;
        const std::optional<Enum> chosen = lookup(name);
        if (!chosen)
            fail(s_.file, position_of(find(field)->source()),
                 "unknown " + std::string(field) + " '" + name + "'; allowed: " + joined(names));
        out = *chosen;
    }

  private:
    const toml::node* find(const char* field) const {
        const toml::node* node = table_.get(field);
        if (node) s_.positions[key::at(path_, field)] = position_of(node->source());
        return node;
    }

    [[noreturn]] void wrong_type(const char* field, const toml::node& node,
                                 const char* expected) const {
        fail(s_.file, position_of(node.source()),
             std::string(field) + " must be " + expected + ", not " + type_name(node));
    }

    const toml::table& table_;
    std::string path_;
    std::string title_;
    Scenario& s_;
};

//-----------------------------------------------------------------------------
// [SECTION] The tables of a scenario
//-----------------------------------------------------------------------------

const toml::table& table_at(const toml::table& root, const char* name, const std::string& file) {
    const toml::node* node = root.get(name);
    // A table that is missing stands nowhere: point at the start of the file.
    if (!node) fail(file, {1, 1}, std::string("missing table [") + name + "]");
    if (!node->is_table())
        fail(file, position_of(node->source()),
             std::string(name) + " must be a table [" + name + "]");
    return *node->as_table();
}

void read_grid(const toml::table& root, Scenario& s) {
    TableReader t(table_at(root, key::grid, s.file), key::grid, "[grid]", s);
    t.allow_only({key::cells, key::cell_size, key::courant, key::steps, key::allow_unstable});
    t.required(key::cells, s.grid.cells);
    t.required(key::cell_size, s.grid.cell_size_m);
    t.read(key::courant, s.grid.courant);
    t.required(key::steps, s.grid.steps);
    t.read(key::allow_unstable, s.grid.allow_unstable);
}

void read_boundary(const toml::table& root, Scenario& s) {
    if (!root.get(key::boundary)) return;
    TableReader t(table_at(root, key::boundary, s.file), key::boundary, "[boundary]", s);
    t.allow_only({key::left, key::right, key::pml_cells});
    t.choice<Boundary>(key::left, s.boundary.left, boundary_names(), boundary_named);
    t.choice<Boundary>(key::right, s.boundary.right, boundary_names(), boundary_named);
    t.read(key::pml_cells, s.boundary.pml_cells);
}

void read_source(const toml::table& root, Scenario& s) {
    TableReader t(table_at(root, key::source, s.file), key::source, "[source]", s);
    t.allow_only({key::type, key::cell, key::waveform, key::delay, key::width, key::frequency,
                  key::ramp_periods});
    SourceSettings& src = s.source;
    t.choice<SourceType>(key::type, src.type, source_type_names(), source_type_named);
    t.required(key::cell, src.cell);
    t.choice<Waveform>(key::waveform, src.waveform, waveform_names(), waveform_named);
    t.read(key::delay, src.delay_steps);
    t.read(key::width, src.width_steps);
    t.read(key::frequency, src.frequency_hz);
    t.read(key::ramp_periods, src.ramp_periods);
}

// Runs read_one on each table of an array of tables such as [[layer]].
void for_each_entry(const toml::table& root, const char* name, Scenario& s,
                    const std::function<void(const TableReader&)>& read_one) {
    const toml::node* node = root.get(name);
    if (!node) return;
    const toml::array* entries = node->as_array();
    if (!entries || !entries->is_array_of_tables())
        fail(s.file, position_of(node->source()),
             std::string(name) + " must be written as [[" + name + "]] tables");
    for (std::size_t i = 0; i < entries->size(); ++i)
        read_one(TableReader(*entries->get(i)->as_table(), key::entry(name, i),
                             "[[" + std::string(name) + "]] number " + std::to_string(i + 1), s));
}

void read_layers(const toml::table& root, Scenario& s) {
    for_each_entry(root, key::layer, s, [&](const TableReader& t) {
        t.allow_only({key::first, key::last, key::eps_r, key::mu_r, key::sigma});
        Layer layer;
        t.required(key::first, layer.first);
        t.required(key::last, layer.last);
        t.read(key::eps_r, layer.eps_r);
        t.read(key::mu_r, layer.mu_r);
        t.read(key::sigma, layer.sigma_s_per_m);
        s.layers.push_back(layer);
    });
}

void read_probes(const toml::table& root, Scenario& s) {
    for_each_entry(root, key::probe, s, [&](const TableReader& t) {
        t.allow_only({key::name, key::cell});
        Probe probe;
        t.required(key::name, probe.name);
        t.required(key::cell, probe.cell);
        s.probes.push_back(probe);
    });
}

void read_spectrum(const toml::table& root, Scenario& s) {
    if (!root.get(key::spectrum)) return;
    TableReader t(table_at(root, key::spectrum, s.file), key::spectrum, "[spectrum]", s);
    t.allow_only({key::f_min, key::f_max, key::points, key::reflected, key::transmitted});
    SpectrumSettings sp;
    t.required(key::f_min, sp.f_min_hz);
    t.required(key::f_max, sp.f_max_hz);
    t.required(key::points, sp.points);
    t.required(key::reflected, sp.reflected);
    t.required(key::transmitted, sp.transmitted);
    s.spectrum = sp;
}

void allow_only_known_tables(const toml::table& root, const std::string& file) {
    const std::vector<std::string> tables = {key::grid,  key::boundary, key::source,
                                             key::layer, key::probe,    key::spectrum};
    for (auto&& [name, value] : root)
        if (std::find(tables.begin(), tables.end(), name.str()) == tables.end())
            fail(file, position_of(name.source()),
                 "unknown table or key '" + std::string(name.str()) +
                     "'; allowed: [grid], "
                     "[boundary], [source], [[layer]], [[probe]], [spectrum]");
}

// A device or a FIFO would be read without end, /dev/zero into all of memory.
std::string read_text_file(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (fs::is_directory(status)) fail(path, {}, "cannot read: it is a directory");
    // Before opening: opening a FIFO waits for a writer.
    if (fs::exists(status) && !fs::is_regular_file(status))
        fail(path, {}, "cannot read: not a regular file (a device, FIFO or socket)");
    std::ifstream in(path, std::ios::binary);
    if (!in) fail(path, {}, std::string("cannot read: ") + std::strerror(errno));
    std::string text(max_scenario_bytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in.bad()) fail(path, {}, "cannot read: read error");
    if (static_cast<std::size_t>(in.gcount()) > max_scenario_bytes)
        fail(path, {},
             "cannot read: larger than " + std::to_string(max_scenario_bytes >> 20) +
                 " MB, which no scenario needs");
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

} // namespace

Scenario parse_scenario(std::string_view text, const std::string& path) {
    toml::table root;
    try {
        root = toml::parse(text, path);
    } catch (const toml::parse_error& error) {
        fail(path, position_of(error.source()), std::string(error.description()));
    }
    Scenario s;
    s.file = path;
    allow_only_known_tables(root, path);
    read_grid(root, s);
    read_boundary(root, s);
    read_source(root, s);
    read_layers(root, s);
    read_probes(root, s);
    read_spectrum(root, s);
    return s;
}

Scenario load_scenario(const std::string& path) {
    Scenario s = parse_scenario(read_text_file(path), path);
    if (const std::optional<ScenarioProblem> problem = first_problem(s))
        throw ScenarioFileError(located_message(s, *problem));
    return s;
}

} // namespace lab
