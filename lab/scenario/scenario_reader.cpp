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
        for (auto&& [key, value] : table_) {
            if (std::find(keys.begin(), keys.end(), key.str()) == keys.end())
                fail(s_.file, position_of(key.source()),
                     "unknown key '" + std::string(key.str()) + "' in " + title_ +
                         "; allowed: " + joined(keys));
        }
    }

    template <class T> void required(const char* key, T& out) const {
        if (!read(key, out))
            fail(s_.file, position_of(table_.source()),
                 "missing key '" + std::string(key) + "' in " + title_);
    }

    bool read(const char* key, int& out) const {
        const toml::node* node = find(key);
        if (!node) return false;
        const auto* integer = node->as_integer();
        if (!integer) wrong_type(key, *node, "an integer");
        const int64_t value = integer->get();
        if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
            fail(s_.file, position_of(node->source()), std::string(key) + " is out of range");
        out = static_cast<int>(value);
        return true;
    }

    bool read(const char* key, double& out) const {
        const toml::node* node = find(key);
        if (!node) return false;
        if (const auto* integer = node->as_integer())
            out = static_cast<double>(integer->get());
        else if (const auto* real = node->as_floating_point())
            out = real->get();
        else
            wrong_type(key, *node, "a number");
        return true;
    }

    bool read(const char* key, bool& out) const {
        const toml::node* node = find(key);
        if (!node) return false;
        const auto* boolean = node->as_boolean();
        if (!boolean) wrong_type(key, *node, "true or false");
        out = boolean->get();
        return true;
    }

    bool read(const char* key, std::string& out) const {
        const toml::node* node = find(key);
        if (!node) return false;
        const auto* string = node->as_string();
        if (!string) wrong_type(key, *node, "a string");
        out = string->get();
        return true;
    }

    template <class Enum>
    void choice(const char* key, Enum& out, const std::vector<std::string>& names,
                const std::function<std::optional<Enum>(const std::string&)>& lookup) const {
        std::string name;
        if (!read(key, name)) return;
        const std::optional<Enum> chosen = lookup(name);
        if (!chosen)
            fail(s_.file, position_of(find(key)->source()),
                 "unknown " + std::string(key) + " '" + name + "'; allowed: " + joined(names));
        out = *chosen;
    }

  private:
    const toml::node* find(const char* key) const {
        const toml::node* node = table_.get(key);
        if (node) s_.positions[path_ + "." + key] = position_of(node->source());
        return node;
    }

    [[noreturn]] void wrong_type(const char* key, const toml::node& node,
                                 const char* expected) const {
        fail(s_.file, position_of(node.source()),
             std::string(key) + " must be " + expected + ", not " + type_name(node));
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
    if (!node) fail(file, {}, std::string("missing table [") + name + "]");
    if (!node->is_table())
        fail(file, position_of(node->source()),
             std::string(name) + " must be a table [" + name + "]");
    return *node->as_table();
}

void read_grid(const toml::table& root, Scenario& s) {
    TableReader t(table_at(root, "grid", s.file), "grid", "[grid]", s);
    t.allow_only({"cells", "cell_size", "courant", "steps", "allow_unstable"});
    t.required("cells", s.grid.cells);
    t.required("cell_size", s.grid.cell_size_m);
    t.read("courant", s.grid.courant);
    t.required("steps", s.grid.steps);
    t.read("allow_unstable", s.grid.allow_unstable);
}

void read_boundary(const toml::table& root, Scenario& s) {
    if (!root.get("boundary")) return;
    TableReader t(table_at(root, "boundary", s.file), "boundary", "[boundary]", s);
    t.allow_only({"left", "right", "pml_cells"});
    t.choice<Boundary>("left", s.boundary.left, boundary_names(), boundary_named);
    t.choice<Boundary>("right", s.boundary.right, boundary_names(), boundary_named);
    t.read("pml_cells", s.boundary.pml_cells);
}

void read_source(const toml::table& root, Scenario& s) {
    TableReader t(table_at(root, "source", s.file), "source", "[source]", s);
    t.allow_only({"type", "cell", "waveform", "delay", "width", "frequency", "ramp_periods"});
    SourceSettings& src = s.source;
    t.choice<SourceType>("type", src.type, source_type_names(), source_type_named);
    t.required("cell", src.cell);
    t.choice<Waveform>("waveform", src.waveform, waveform_names(), waveform_named);
    t.read("delay", src.delay_steps);
    t.read("width", src.width_steps);
    t.read("frequency", src.frequency_hz);
    t.read("ramp_periods", src.ramp_periods);
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
    for (std::size_t i = 0; i < entries->size(); ++i) {
        const std::string path = std::string(name) + "[" + std::to_string(i) + "]";
        read_one(TableReader(*entries->get(i)->as_table(), path,
                             "[[" + std::string(name) + "]] number " + std::to_string(i + 1), s));
    }
}

void read_layers(const toml::table& root, Scenario& s) {
    for_each_entry(root, "layer", s, [&](const TableReader& t) {
        t.allow_only({"first", "last", "eps_r", "mu_r", "sigma"});
        Layer layer;
        t.required("first", layer.first);
        t.required("last", layer.last);
        t.read("eps_r", layer.eps_r);
        t.read("mu_r", layer.mu_r);
        t.read("sigma", layer.sigma_s_per_m);
        s.layers.push_back(layer);
    });
}

void read_probes(const toml::table& root, Scenario& s) {
    for_each_entry(root, "probe", s, [&](const TableReader& t) {
        t.allow_only({"name", "cell"});
        Probe probe;
        t.required("name", probe.name);
        t.required("cell", probe.cell);
        s.probes.push_back(probe);
    });
}

void read_spectrum(const toml::table& root, Scenario& s) {
    if (!root.get("spectrum")) return;
    TableReader t(table_at(root, "spectrum", s.file), "spectrum", "[spectrum]", s);
    t.allow_only({"f_min", "f_max", "points", "reflected", "transmitted"});
    SpectrumSettings sp;
    t.required("f_min", sp.f_min_hz);
    t.required("f_max", sp.f_max_hz);
    t.required("points", sp.points);
    t.required("reflected", sp.reflected);
    t.required("transmitted", sp.transmitted);
    s.spectrum = sp;
}

void allow_only_known_tables(const toml::table& root, const std::string& file) {
    const std::vector<std::string> tables = {"grid",  "boundary", "source",
                                             "layer", "probe",    "spectrum"};
    for (auto&& [key, value] : root)
        if (std::find(tables.begin(), tables.end(), key.str()) == tables.end())
            fail(file, position_of(key.source()),
                 "unknown table or key '" + std::string(key.str()) +
                     "'; allowed: [grid], "
                     "[boundary], [source], [[layer]], [[probe]], [spectrum]");
}

std::string read_text_file(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (fs::is_directory(path, error)) fail(path, {}, "cannot read: it is a directory");
    std::ifstream in(path, std::ios::binary);
    if (!in) fail(path, {}, std::string("cannot read: ") + std::strerror(errno));
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) fail(path, {}, "cannot read: read error");
    return text.str();
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
