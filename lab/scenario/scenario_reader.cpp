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

#include "lab/scenario/discretisation.h"
#include "lab/scenario/keys.h"
#include "lab/scenario/layer_geometry.h"
#include "lab/scenario/scenario_check.h"
#include "lab/scenario/stack_expansion.h"
#include "lab/scenario/units.h"

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

// What an int key may hold, for the message when a file gives more.
std::string allowed_range(const char* field) {
    const std::string name = field;
    if (name == key::cells) return "allowed: 3 to " + std::to_string(max_cells);
    if (name == key::steps) return "allowed: 1 to " + std::to_string(max_steps);
    if (name == key::points) return "allowed: 1 to " + std::to_string(max_spectrum_points);
    return "allowed: " + std::to_string(std::numeric_limits<int>::min()) + " to " +
           std::to_string(std::numeric_limits<int>::max());
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
            fail(s_.file, position_of(node->source()),
                 std::string(field) + " " + std::to_string(value) + " is out of range; " +
                     allowed_range(field));
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

    // A length, frequency or time: a number in SI units or a string with a unit.
    enum class Written { absent, number, with_unit };
    Written read(const char* field, double& out, Quantity quantity) const {
        const toml::node* node = find(field);
        if (!node) return Written::absent;
        const auto* string = node->as_string();
        if (!string) {
            read(field, out);
            return Written::number;
        }
        const UnitValue value = parse_with_unit(string->get(), quantity);
        if (!value.si) fail_at(field, std::string(field) + ": " + value.problem);
        out = *value.si;
        return Written::with_unit;
    }

    bool has(const char* field) const { return table_.get(field) != nullptr; }

    [[noreturn]] void fail_at(const char* field, const std::string& message) const {
        const toml::node* node = table_.get(field);
        fail(s_.file, position_of(node ? node->source() : table_.source()), message);
    }

    // Problems found later under to_field are reported at from_field's position.
    void alias(const char* from_field, const char* to_field) const {
        if (const toml::node* node = table_.get(from_field))
            s_.positions[key::at(path_, to_field)] = position_of(node->source());
    }

    const std::string& path() const { return path_; }
    const std::string& title() const { return title_; }
    const toml::table& table() const { return table_; }
    Scenario& scenario() const { return s_; }

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
    if (t.read(key::cell_size, s.grid.cell_size_m, Quantity::length) ==
        TableReader::Written::absent)
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
    // Times with a unit become steps of the grid read above.
    const double dt_s = time_step_s(s.grid.courant, s.grid.cell_size_m);
    if (t.read(key::delay, src.delay_steps, Quantity::time) == TableReader::Written::with_unit)
        src.delay_steps /= dt_s;
    if (t.read(key::width, src.width_steps, Quantity::time) == TableReader::Written::with_unit)
        src.width_steps /= dt_s;
    t.read(key::frequency, src.frequency_hz, Quantity::frequency);
    t.read(key::ramp_periods, src.ramp_periods);
}

// Runs read_one on each table of an array of tables such as [[layer]]; entries are
// numbered from 1 in messages ("layer 2", "stack 1 layer 2").
void for_each_entry(const toml::table& parent, const std::string& parent_path,
                    const std::string& parent_title, const char* name, Scenario& s,
                    const std::function<void(const TableReader&)>& read_one) {
    const toml::node* node = parent.get(name);
    if (!node) return;
    const toml::array* entries = node->as_array();
    // "stack.layer" for the entries of "stack[0]".
    const std::string full_name =
        parent_path.empty() ? name : parent_path.substr(0, parent_path.find('[')) + "." + name;
    if (!entries || !entries->is_array_of_tables())
        fail(s.file, position_of(node->source()),
             std::string(name) + " must be written as [[" + full_name + "]] tables");
    const std::string prefix = parent_path.empty() ? "" : parent_path + key::separator;
    const std::string title_prefix = parent_title.empty() ? "" : parent_title + " ";
    for (std::size_t i = 0; i < entries->size(); ++i)
        read_one(TableReader(*entries->get(i)->as_table(), prefix + key::entry(name, i),
                             title_prefix + name + " " + std::to_string(i + 1), s));
}

void for_each_entry(const toml::table& root, const char* name, Scenario& s,
                    const std::function<void(const TableReader&)>& read_one) {
    for_each_entry(root, "", "", name, s, read_one);
}

//-----------------------------------------------------------------------------
// [SECTION] Layers: in cells or in metres, by eps_r and mu_r or by n
//-----------------------------------------------------------------------------

void read_material(const TableReader& t, Layer& layer) {
    double n = 0.0;
    if (t.read(key::n, n)) {
        for (const char* other : {key::eps_r, key::mu_r})
            if (t.has(other))
                t.fail_at(other, std::string("give n or ") + other + " in " + t.title() +
                                     ", not both: n sets eps_r = n^2 and mu_r = 1");
        if (!(std::isfinite(n) && n > 0.0)) t.fail_at(key::n, "n must be a positive number");
        layer.eps_r = n * n;
    }
    t.read(key::eps_r, layer.eps_r);
    t.read(key::mu_r, layer.mu_r);
    t.read(key::sigma, layer.sigma_s_per_m);
}

// Whole cells of the layer's thickness (given, or a quarter wave at a frequency).
int read_thickness_cells(const TableReader& t, Layer& layer) {
    const double dx = t.scenario().grid.cell_size_m;
    const char* field = t.has(key::quarter_wave_at) ? key::quarter_wave_at : key::thickness;
    if (t.has(key::quarter_wave_at) && t.has(key::thickness))
        t.fail_at(key::quarter_wave_at,
                  "give thickness or quarter_wave_at in " + t.title() + ", not both");
    double value = 0.0;
    if (t.read(field, value, field == key::thickness ? Quantity::length : Quantity::frequency) ==
        TableReader::Written::absent)
        t.fail_at(field, "missing key 'thickness' (or 'quarter_wave_at') in " + t.title());
    if (!(std::isfinite(value) && value > 0.0))
        t.fail_at(field, std::string(field) + " must be above 0");
    const double thickness_m =
        field == key::thickness
            ? value
            : quarter_wave_thickness_m(value, refractive_index(layer.eps_r, layer.mu_r));
    const int cells = dx > 0.0 ? cells_in(thickness_m, dx) : 1;
    if (cells < 1) {
        char message[200];
        std::snprintf(message, sizeof message,
                      "%s: %.4g m is less than half a cell (%.4g m) and rounds to no cell; it "
                      "needs a cell_size of at most %.4g m",
                      t.title().c_str(), thickness_m, dx, thickness_m);
        t.fail_at(field, message);
    }
    layer.written_thickness_m = thickness_m;
    t.alias(field, key::first);
    t.alias(field, key::last);
    return cells;
}

void read_layer_in_metres(const TableReader& t, Layer& layer) {
    const double dx = t.scenario().grid.cell_size_m;
    double start_m = 0.0;
    if (t.read(key::start, start_m, Quantity::length) == TableReader::Written::absent)
        t.fail_at(key::start, "missing key 'start' in " + t.title());
    const int cells = read_thickness_cells(t, layer);
    t.alias(key::start, key::first);
    layer.first = dx > 0.0 ? cell_at(start_m, dx) : 0;
    layer.last = layer.first + cells - 1;
}

//-----------------------------------------------------------------------------
// [SECTION] Poles of a layer
//-----------------------------------------------------------------------------

// The keys a pole of each kind takes, in the order of PoleKind.
std::vector<std::string> pole_keys(PoleKind kind) {
    switch (kind) {
    case PoleKind::debye:
        return {key::kind, key::delta_eps, key::relaxation_time};
    case PoleKind::drude:
        return {key::kind, key::plasma_frequency, key::collision_frequency};
    default:
        return {key::kind, key::delta_eps, key::resonance_frequency, key::damping_frequency};
    }
}

// A pole's frequency or time: a number in SI units or a string with a unit.
void required_quantity(const TableReader& t, const char* field, double& out, Quantity quantity) {
    if (t.read(field, out, quantity) == TableReader::Written::absent) t.required(field, out);
}

void read_poles(const TableReader& layer_table, Layer& layer, Scenario& s) {
    for_each_entry(layer_table.table(), layer_table.path(), layer_table.title(), key::pole, s,
                   [&](const TableReader& t) {
                       Pole pole;
                       std::string kind;
                       t.required(key::kind, kind);
                       t.choice<PoleKind>(key::kind, pole.kind, pole_kind_names(), pole_kind_named);
                       t.allow_only(pole_keys(pole.kind));
                       switch (pole.kind) {
                       case PoleKind::debye:
                           t.required(key::delta_eps, pole.delta_eps);
                           required_quantity(t, key::relaxation_time, pole.relaxation_time_s,
                                             Quantity::time);
                           break;
                       case PoleKind::drude:
                           required_quantity(t, key::plasma_frequency, pole.plasma_frequency_hz,
                                             Quantity::frequency);
                           required_quantity(t, key::collision_frequency,
                                             pole.collision_frequency_hz, Quantity::frequency);
                           break;
                       case PoleKind::lorentz:
                           t.required(key::delta_eps, pole.delta_eps);
                           required_quantity(t, key::resonance_frequency,
                                             pole.resonance_frequency_hz, Quantity::frequency);
                           required_quantity(t, key::damping_frequency, pole.damping_frequency_hz,
                                             Quantity::frequency);
                           break;
                       }
                       layer.poles.push_back(pole);
                   });
}

void read_layers(const toml::table& root, Scenario& s) {
    for_each_entry(root, key::layer, s, [&](const TableReader& t) {
        t.allow_only({key::first, key::last, key::start, key::thickness, key::quarter_wave_at,
                      key::n, key::eps_r, key::mu_r, key::sigma, key::pole});
        Layer layer;
        read_material(t, layer);
        const bool in_cells = t.has(key::first) || t.has(key::last);
        const bool in_metres =
            t.has(key::start) || t.has(key::thickness) || t.has(key::quarter_wave_at);
        if (in_cells && in_metres)
            t.fail_at(t.has(key::start) ? key::start : key::thickness,
                      t.title() + " mixes first/last (cells) with start/thickness (metres); use "
                                  "one pair");
        if (in_metres) {
            read_layer_in_metres(t, layer);
        } else {
            t.required(key::first, layer.first);
            t.required(key::last, layer.last);
        }
        read_poles(t, layer, s);
        s.layers.push_back(layer);
    });
}

//-----------------------------------------------------------------------------
// [SECTION] Periodic stacks
//-----------------------------------------------------------------------------

void read_stacks(const toml::table& root, Scenario& s) {
    for_each_entry(root, key::stack, s, [&](const TableReader& t) {
        t.allow_only({key::start, key::repeat, key::layer});
        StackDescription stack;
        if (t.read(key::start, stack.start_m, Quantity::length) == TableReader::Written::absent)
            t.fail_at(key::start, "missing key 'start' in " + t.title());
        t.required(key::repeat, stack.repeat);
        if (!t.has(key::layer))
            t.fail_at(key::repeat, t.title() + " needs [[stack.layer]] entries");
        for_each_entry(t.table(), t.path(), t.title(), key::layer, s, [&](const TableReader& e) {
            e.allow_only({key::thickness, key::quarter_wave_at, key::n, key::eps_r, key::mu_r,
                          key::sigma, key::pole});
            StackEntry entry{Layer{}, 0, e.path()};
            read_material(e, entry.layer);
            read_poles(e, entry.layer, s);
            entry.cells = read_thickness_cells(e, entry.layer);
            stack.entries.push_back(entry);
        });
        if (std::optional<std::string> problem = repeat_problem(stack))
            t.fail_at(key::repeat, *problem);
        stack.path = t.path();
        expand_stack(stack, s);
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
    for (auto [field, out] : {std::pair{key::f_min, &sp.f_min_hz}, {key::f_max, &sp.f_max_hz}})
        if (t.read(field, *out, Quantity::frequency) == TableReader::Written::absent)
            t.required(field, *out);
    t.required(key::points, sp.points);
    t.required(key::reflected, sp.reflected);
    t.required(key::transmitted, sp.transmitted);
    s.spectrum = sp;
}

void allow_only_known_tables(const toml::table& root, const std::string& file) {
    const std::vector<std::string> tables = {key::grid,  key::boundary, key::source,  key::layer,
                                             key::stack, key::probe,    key::spectrum};
    for (auto&& [name, value] : root)
        if (std::find(tables.begin(), tables.end(), name.str()) == tables.end())
            fail(file, position_of(name.source()),
                 "unknown table or key '" + std::string(name.str()) +
                     "'; allowed: [grid], "
                     "[boundary], [source], [[layer]], [[stack]], [[probe]], [spectrum]");
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
    read_stacks(root, s);
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
