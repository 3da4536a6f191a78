#include "lab/cli/sweep_command.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <thread>

#include "lab/analysis/csv_number.h"
#include "lab/scenario/scenario_edit.h"
#include "lab/scenario/scenario_reader.h"
#include "rizodozad/core/atomic_file.h"

namespace lab {

namespace {

namespace fs = std::filesystem;
using rizodozad::AtomicFile;

const char* const table_name = "sweep.csv";
const char* const spectra_columns = "frequency_hz,R,T,R_theory,T_theory";
// A part written by --index K: sweep-point-K-of-N.csv.
const std::regex part_name(R"(sweep-point-(\d+)-of-(\d+)\.csv)");

std::string part_file_name(long long k, long long count) {
    return "sweep-point-" + std::to_string(k) + "-of-" + std::to_string(count) + ".csv";
}

//-----------------------------------------------------------------------------
// [SECTION] The swept keys, from --set KEY=V1,V2,...
//-----------------------------------------------------------------------------

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);)
        parts.push_back(part);
    return parts;
}

// The keys, or a message naming the setting that cannot be read.
std::optional<std::string> read_settings(const std::vector<std::string>& settings,
                                         std::vector<SweptKey>& keys) {
    for (const std::string& setting : settings) {
        const std::size_t equals = setting.find('=');
        if (equals == std::string::npos || equals == 0 || equals + 1 == setting.size())
            return "--set " + setting + ": write KEY=V1,V2,... such as layer[0].eps_r=2.25,4";
        SweptKey key{setting.substr(0, equals), {}};
        for (const std::string& word : split(setting.substr(equals + 1), ','))
            key.literals.push_back(toml_literal_from_word(word));
        keys.push_back(key);
    }
    if (keys.empty()) return std::string("nothing to sweep: give at least one --set KEY=V1,V2,...");
    return std::nullopt;
}

std::string read_text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

//-----------------------------------------------------------------------------
// [SECTION] Running the points
//-----------------------------------------------------------------------------

std::string describe(long long k, const PointSettings& settings) {
    std::string text = "point " + std::to_string(k) + " (";
    for (std::size_t i = 0; i < settings.size(); ++i)
        text += (i > 0 ? ", " : "") + settings[i].first + " = " + settings[i].second;
    return text + ")";
}

// Runs the points first..first + results.size() - 1 on jobs threads.
void run_points(const std::string& text, const std::string& path, const std::vector<SweptKey>& keys,
                long long first, int jobs, std::vector<PointResult>& results) {
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < results.size(); i = next++)
            results[i] = run_sweep_point(text, path, point_settings(keys, first + i));
    };
    std::vector<std::thread> team;
    for (int j = 1; j < jobs; ++j)
        team.emplace_back(work);
    work();
    for (std::thread& thread : team)
        thread.join();
}

//-----------------------------------------------------------------------------
// [SECTION] The table
//-----------------------------------------------------------------------------

// A cell as CSV needs it: quoted when it holds a comma or a quote.
std::string csv_cell(const std::string& text) {
    if (text.find_first_of(",\"") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

// The shortest text that reads back exactly; a value not measured is an empty cell.
std::string number_cell(double value) {
    if (std::isnan(value)) return "";
    char text[max_number_chars];
    return std::string(text, write_number(text, value));
}

void write_header(std::FILE* out, const std::vector<SweptKey>& keys) {
    for (const SweptKey& key : keys)
        std::fprintf(out, "%s,", csv_cell(key.key).c_str());
    std::fprintf(out, "%s\n", spectra_columns);
}

void write_rows(std::FILE* out, const PointSettings& settings, const Spectra& s) {
    std::string prefix;
    for (const auto& [key, literal] : settings)
        prefix += csv_cell(literal) + ",";
    const double none = std::nan("");
    for (std::size_t k = 0; k < s.frequency_hz.size(); ++k) {
        const Reflection theory = s.theory ? (*s.theory)[k] : Reflection{none, none};
        std::fprintf(out, "%s%s,%s,%s,%s,%s\n", prefix.c_str(),
                     number_cell(s.frequency_hz[k]).c_str(), number_cell(s.R[k]).c_str(),
                     number_cell(s.T[k]).c_str(), number_cell(theory.R).c_str(),
                     number_cell(theory.T).c_str());
    }
}

bool commit(AtomicFile& file) {
    if (file.stream() && file.commit()) return true;
    std::fprintf(stderr, "fdtd-lab: %s: cannot write: %s\n", file.target().c_str(),
                 file.error_text());
    return false;
}

// Writes the points that have spectra; reports the others. An exit status.
int write_table(const std::string& target, const std::vector<SweptKey>& keys, long long first,
                const std::vector<PointResult>& results) {
    AtomicFile file(target);
    if (!file.stream()) return commit(file) ? exit_ok : exit_failed;
    write_header(file.stream(), keys);
    int failures = 0;
    for (std::size_t i = 0; i < results.size(); ++i) {
        const PointSettings settings = point_settings(keys, first + i);
        if (results[i].spectra) {
            write_rows(file.stream(), settings, *results[i].spectra);
            continue;
        }
        ++failures;
        std::fprintf(stderr, "fdtd-lab: %s: %s\n", describe(first + i, settings).c_str(),
                     results[i].problem.c_str());
    }
    if (!commit(file)) return exit_failed;
    std::printf("wrote %s: spectra of %zu of %zu points\n", target.c_str(),
                results.size() - failures, results.size());
    return failures > 0 ? exit_points_failed : exit_ok;
}

//-----------------------------------------------------------------------------
// [SECTION] Checks before anything runs
//-----------------------------------------------------------------------------

// The base scenario read and checked, the keys read and each tried on the text once, the
// folder made; a message when any of that fails.
std::optional<std::string> prepare(const SweepOptions& o, std::string& text,
                                   std::vector<SweptKey>& keys) {
    try {
        if (!load_scenario(o.scenario_path).spectrum)
            return o.scenario_path + ": a sweep needs a [spectrum] section";
        text = read_text(o.scenario_path);
        if (auto problem = read_settings(o.settings, keys)) return problem;
        for (const SweptKey& key : keys)
            with_value(text, o.scenario_path, key.key, key.literals.front());
    } catch (const ScenarioFileError& error) {
        return std::string(error.what());
    }
    if (o.index != every_point && (o.index < 0 || o.index >= point_count(keys)))
        return "--index " + std::to_string(o.index) + ": the sweep has points 0 to " +
               std::to_string(point_count(keys) - 1);
    std::error_code error;
    fs::create_directories(o.out_dir, error);
    if (error) return o.out_dir + ": cannot create: " + error.message();
    return std::nullopt;
}

//-----------------------------------------------------------------------------
// [SECTION] Joining the parts of a job array
//-----------------------------------------------------------------------------

struct Parts {
    std::map<long long, fs::path> files; // by point
    long long count = 0;
};

std::optional<std::string> find_parts(const std::string& dir, Parts& parts) {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir, error)) {
        std::smatch match;
        const std::string name = entry.path().filename().string();
        if (!std::regex_match(name, match, part_name)) continue;
        const long long count = std::stoll(match[2]);
        if (parts.count != 0 && count != parts.count)
            return dir + ": parts of sweeps of " + std::to_string(parts.count) + " and " +
                   std::to_string(count) + " points";
        parts.count = count;
        parts.files[std::stoll(match[1])] = entry.path();
    }
    if (error) return dir + ": cannot read: " + error.message();
    if (parts.files.empty()) return dir + ": no sweep-point-K-of-N.csv parts";
    return std::nullopt;
}

// Appends a part's rows (its header only for the first part); false when the headers differ.
bool append_part(std::FILE* out, const fs::path& part, std::string& header) {
    std::ifstream in(part);
    std::string line;
    std::getline(in, line);
    if (header.empty()) {
        header = line;
        std::fprintf(out, "%s\n", line.c_str());
    } else if (line != header) {
        return false;
    }
    while (std::getline(in, line))
        std::fprintf(out, "%s\n", line.c_str());
    return true;
}

} // namespace

//-----------------------------------------------------------------------------
// [SECTION] Points of the product
//-----------------------------------------------------------------------------

long long point_count(const std::vector<SweptKey>& keys) {
    long long count = 1;
    for (const SweptKey& key : keys)
        count *= static_cast<long long>(key.literals.size());
    return count;
}

PointSettings point_settings(const std::vector<SweptKey>& keys, long long k) {
    PointSettings settings(keys.size());
    for (std::size_t i = keys.size(); i-- > 0;) {
        const auto n = static_cast<long long>(keys[i].literals.size());
        settings[i] = {keys[i].key, keys[i].literals[static_cast<std::size_t>(k % n)]};
        k /= n;
    }
    return settings;
}

PointResult run_sweep_point(const std::string& toml_text, const std::string& path,
                            const PointSettings& settings) {
    try {
        std::string text = toml_text;
        for (const auto& [key, literal] : settings)
            text = with_value(text, path, key, literal);
        Experiment e(checked_scenario(text, path));
        e.keep_history(false);
        e.advance(e.run().total_steps()); // nothing looks at the steps between
        if (e.run().blown_up()) return {std::nullopt, e.run().blow_up_message()};
        if (!e.has_spectra()) return {std::nullopt, "the scenario has no [spectrum] section"};
        return {e.spectra(), ""};
    } catch (const ScenarioFileError& error) {
        return {std::nullopt, error.what()};
    }
}

int run_sweep(const SweepOptions& o) {
    std::string text;
    std::vector<SweptKey> keys;
    if (const auto problem = prepare(o, text, keys)) {
        std::fprintf(stderr, "fdtd-lab: %s\n", problem->c_str());
        return exit_bad_input;
    }
    const long long count = point_count(keys);
    const bool one_point = o.index != every_point;
    const long long first = one_point ? o.index : 0;
    std::vector<PointResult> results(one_point ? 1 : static_cast<std::size_t>(count));
    run_points(text, o.scenario_path, keys, first, std::max(1, o.jobs), results);
    const std::string name = one_point ? part_file_name(first, count) : table_name;
    return write_table((fs::path(o.out_dir) / name).string(), keys, first, results);
}

int merge_sweep(const std::string& dir) {
    Parts parts;
    if (const auto problem = find_parts(dir, parts)) {
        std::fprintf(stderr, "fdtd-lab: %s\n", problem->c_str());
        return exit_bad_input;
    }
    AtomicFile file((fs::path(dir) / table_name).string());
    std::string header;
    for (const auto& [k, part] : parts.files)
        if (file.stream() && !append_part(file.stream(), part, header)) {
            std::fprintf(stderr, "fdtd-lab: %s: its columns differ from the other parts\n",
                         part.string().c_str());
            return exit_bad_input;
        }
    if (!commit(file)) return exit_failed;
    std::printf("wrote %s: %zu parts of %lld points\n", file.target().c_str(), parts.files.size(),
                parts.count);
    for (long long k = 0; k < parts.count; ++k)
        if (parts.files.count(k) == 0) std::fprintf(stderr, "fdtd-lab: point %lld is missing\n", k);
    return static_cast<long long>(parts.files.size()) == parts.count ? exit_ok : exit_points_failed;
}

int sweep_from_command_line(const SweepOptions& o) {
    if (!o.merge_dir.empty()) return merge_sweep(o.merge_dir);
    if (o.scenario_path.empty() || o.out_dir.empty()) {
        std::fprintf(stderr, "fdtd-lab: sweep needs a scenario and --out DIR (or --merge DIR)\n");
        return exit_bad_input;
    }
    return run_sweep(o);
}

} // namespace lab
