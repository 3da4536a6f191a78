#include "lab/scenario/scenario_edit.h"

#include <toml++/toml.h>

#include <sstream>
#include <utility>

#include "lab/scenario/scenario_check.h"
#include "lab/scenario/scenario_reader.h"

namespace lab {

namespace {

//-----------------------------------------------------------------------------
// [SECTION] Positions in the text
//-----------------------------------------------------------------------------

// Byte offset of a 1-based line and column; toml++ counts columns in code points.
std::size_t offset_of(std::string_view text, const toml::source_position& at) {
    std::size_t offset = 0;
    for (toml::source_index line = 1; line < at.line; ++line) {
        const std::size_t end = text.find('\n', offset);
        if (end == std::string_view::npos) return text.size();
        offset = end + 1;
    }
    for (toml::source_index column = 1; column < at.column && offset < text.size(); ++column) {
        ++offset;
        while (offset < text.size() && (static_cast<unsigned char>(text[offset]) & 0xC0) == 0x80)
            ++offset; // continuation bytes of a multi-byte code point
    }
    return offset;
}

// Offset just past the end of the line holding offset (past its newline).
std::size_t next_line(std::string_view text, std::size_t offset) {
    const std::size_t end = text.find('\n', offset);
    return end == std::string_view::npos ? text.size() : end + 1;
}

std::string spliced(std::string_view text, std::size_t from, std::size_t to,
                    const std::string& insert) {
    return std::string(text.substr(0, from)) + insert + std::string(text.substr(to));
}

[[noreturn]] void fail(const std::string& path, const std::string& message) {
    throw ScenarioFileError(path + ": " + message);
}

//-----------------------------------------------------------------------------
// [SECTION] A key its table does not hold yet
//-----------------------------------------------------------------------------

// "layer[0].eps_r" -> "layer[0]" and "eps_r"; a key without a table has an empty table.
std::pair<std::string, std::string> split_key(const std::string& key_path) {
    const std::size_t dot = key_path.find_last_of('.');
    if (dot == std::string::npos) return {"", key_path};
    return {key_path.substr(0, dot), key_path.substr(dot + 1)};
}

bool is_plain_name(const std::string& name) {
    return !name.empty() && name.find_first_of(".[]") == std::string::npos;
}

std::string added_key(std::string_view text, const toml::table& root, const std::string& path,
                      const std::string& key_path, const std::string& literal) {
    const auto [table_path, key] = split_key(key_path);
    if (!is_plain_name(key)) fail(path, key_path + ": not a key path such as layer[0].eps_r");
    const std::string line = key + " = " + literal + "\n";
    if (table_path.empty()) return line + std::string(text);
    const toml::node_view<const toml::node> table = root.at_path(table_path);
    if (table && table.is_table()) {
        const std::size_t header = offset_of(text, table.node()->source().begin);
        return spliced(text, next_line(text, header), next_line(text, header), line);
    }
    if (table || !is_plain_name(table_path))
        fail(path, key_path + ": the scenario has no table " + table_path + " to hold " + key);
    std::string appended(text);
    if (!appended.empty() && appended.back() != '\n') appended += '\n';
    return appended + "\n[" + table_path + "]\n" + line;
}

template <class T> std::string formatted(const T& value) {
    std::ostringstream out;
    out << toml::value<T>(value);
    return out.str();
}

} // namespace

//-----------------------------------------------------------------------------
// [SECTION] Values and edits
//-----------------------------------------------------------------------------

std::string toml_literal(bool value) { return value ? "true" : "false"; }
std::string toml_literal(long long value) { return std::to_string(value); }
std::string toml_literal(double value) { return formatted(value); }
std::string toml_literal(const std::string& value) { return formatted(value); }

std::string toml_literal_from_word(const std::string& word) {
    try {
        const toml::table parsed = toml::parse(std::string_view("v = " + word));
        if (parsed.size() == 1 && parsed["v"].is_value()) return word;
    } catch (const toml::parse_error&) {
        // not a TOML value: a bare word, taken as a string
    }
    return toml_literal(word);
}

std::string with_value(std::string_view toml_text, const std::string& path,
                       const std::string& key_path, const std::string& literal) {
    toml::table root;
    try {
        root = toml::parse(toml_text, std::string_view(path));
    } catch (const toml::parse_error&) {
        return std::string(toml_text); // the reader reports it with its position
    }
    const toml::node_view<const toml::node> node = std::as_const(root).at_path(key_path);
    if (!node) return added_key(toml_text, root, path, key_path, literal);
    if (node.is_table() || node.is_array())
        fail(path, key_path + " names a table or an array, not a value");
    const toml::source_region& at = node.node()->source();
    return spliced(toml_text, offset_of(toml_text, at.begin), offset_of(toml_text, at.end),
                   literal);
}

Scenario checked_scenario(std::string_view toml_text, const std::string& path) {
    Scenario s = parse_scenario(toml_text, path);
    if (const std::optional<ScenarioProblem> problem = first_problem(s))
        throw ScenarioFileError(located_message(s, *problem));
    return s;
}

} // namespace lab
