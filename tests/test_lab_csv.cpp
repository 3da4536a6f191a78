// The lab's CSV numbers and tables: every number reads back (strtod) to the very double it
// was written from, and its text is printf's "%.17g" wherever the shortest text that reads
// back needs all 17 digits.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "lab/analysis/csv_number.h"
#include "lab/analysis/csv_output.h"
#include "lab/analysis/experiment.h"
#include "lab/scenario/scenario_reader.h"

namespace {

namespace fs = std::filesystem;

std::string text_of(double value) {
    char text[lab::max_number_chars];
    return {text, lab::write_number(text, value)};
}

std::string printf_text(double value, int digits) {
    char text[48];
    std::snprintf(text, sizeof text, "%.*g", digits, value);
    return text;
}

bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

double read_back(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

bool has_exponent(const std::string& text) { return text.find('e') != std::string::npos; }

//-----------------------------------------------------------------------------
// [SECTION] One number
//-----------------------------------------------------------------------------

TEST(CsvNumber, WritesTheShortestTextInTheLayoutOfPrintf) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0.1, "0.1"}, // "%.17g": 0.10000000000000001
        {0.1 + 0.2, "0.30000000000000004"},
        {100.0, "100"},
        {1e16, "10000000000000000"},
        {1e17, "1e+17"},
        {12345678901234568.0, "12345678901234568"},
        {1.5e-4, "0.00015"},
        {1e-5, "1e-05"},
        {0.0, "0"},
        {-0.0, "-0"},
        {-2.5, "-2.5"},
        {5e-324, "5e-324"},
        {1e23, "1e+23"},
        {std::numeric_limits<double>::max(), "1.7976931348623157e+308"},
        {inf, "inf"},
        {-inf, "-inf"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(text_of(c.value), c.text) << printf_text(c.value, 17);
}

// Doubles from every binade (random bit patterns) and from the decades the plain layout
// covers, with the properties the tables rely on.
TEST(CsvNumber, ReadsBackExactlyAndAgreesWithPrintfWhereAll17DigitsAreNeeded) {
    std::mt19937_64 random(20261207);
    std::uniform_real_distribution<double> decade(-6.0, 18.0), mantissa(1.0, 10.0);
    int seventeen_digit_values = 0;
    for (int i = 0; i < 200000; ++i) {
        double value = 0.0;
        if (i % 2 == 0) {
            const std::uint64_t bits = random();
            std::memcpy(&value, &bits, sizeof value);
            if (!std::isfinite(value)) continue;
        } else {
            value = mantissa(random) * std::pow(10.0, std::floor(decade(random)));
        }
        const std::string text = text_of(value), reference = printf_text(value, 17);
        ASSERT_TRUE(same_bits(read_back(text), value)) << text << " from " << reference;
        ASSERT_EQ(has_exponent(text), has_exponent(reference)) << text << " vs " << reference;
        ASSERT_LE(text.size(), reference.size()) << text << " vs " << reference;
        if (!same_bits(read_back(printf_text(value, 16)), value)) {
            ASSERT_EQ(text, reference);
            ++seventeen_digit_values;
        }
    }
    EXPECT_GT(seventeen_digit_values, 10000); // the comparison with printf did happen
}

//-----------------------------------------------------------------------------
// [SECTION] The tables of every shipped scenario
//-----------------------------------------------------------------------------

using Table = std::vector<std::vector<std::string>>;

// Rows of cells after the header; a text that ends without a newline loses its last row.
Table rows_of(const std::string& csv) {
    Table rows;
    std::istringstream in(csv);
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        rows.emplace_back();
        std::istringstream cells(line);
        for (std::string cell; std::getline(cells, cell, ',');)
            rows.back().push_back(cell);
        if (!line.empty() && line.back() == ',') rows.back().emplace_back();
    }
    return rows;
}

template <typename Write> std::string written(Write write) {
    char* text = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&text, &size);
    EXPECT_TRUE(write(out));
    std::fclose(out);
    std::string result(text, size);
    std::free(text);
    return result;
}

// A cell against the value it was written from: empty when that is not finite, else the
// same bits once read back.
void expect_reads_back(const std::string& cell, double value, const std::string& where) {
    if (!std::isfinite(value))
        EXPECT_EQ(cell, "") << where;
    else
        EXPECT_TRUE(same_bits(read_back(cell), value))
            << where << ": " << cell << " for " << printf_text(value, 17);
}

void expect_row(const Table& rows, std::size_t row, const std::vector<double>& values,
                const std::string& where) {
    ASSERT_LT(row, rows.size()) << where;
    ASSERT_EQ(rows[row].size(), values.size()) << where << " row " << row;
    for (std::size_t c = 0; c < values.size(); ++c)
        expect_reads_back(rows[row][c], values[c], where + " row " + std::to_string(row));
}

void check_fields(const lab::Simulation& run, const std::string& name) {
    const Table rows = rows_of(written([&](std::FILE* out) { return write_fields_csv(out, run); }));
    ASSERT_EQ(rows.size(), run.ez().size()) << name;
    const double dx_m = run.scenario().grid.cell_size_m;
    for (std::size_t i = 0; i < rows.size(); ++i)
        expect_row(rows, i, {double(i), double(i) * dx_m, run.ez()[i], run.hy()[i]},
                   name + " fields.csv");
}

// The batch run writes a row after each step, the view the histories at once: one text.
void check_probes(const lab::Simulation& run, const std::string& name,
                  const std::string& rows_text) {
    const std::string history =
        written([&](std::FILE* out) { return write_probe_history(out, run); });
    EXPECT_EQ(history, rows_text) << name;
    const Table rows = rows_of(history);
    ASSERT_EQ(rows.size(), std::size_t(run.step_count())) << name;
    for (std::size_t n = 0; n < rows.size(); ++n) {
        std::vector<double> values{double(n), double(n + 1) * run.dt_s()};
        for (const lab::ProbeRecord& p : run.probes()) {
            values.push_back(p.ez_history[n]);
            values.push_back(p.hy_history[n]);
        }
        expect_row(rows, n, values, name + " probes.csv");
    }
}

void check_spectra(const lab::Spectra& s, const std::string& name) {
    const Table rows = rows_of(written([&](std::FILE* out) { return write_spectra_csv(out, s); }));
    ASSERT_EQ(rows.size(), s.frequency_hz.size()) << name;
    const double none = std::nan("");
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const lab::Reflection t =
            s.theory ? (*s.theory)[k] : lab::Reflection{none, none, none, none};
        expect_row(rows, k,
                   {s.frequency_hz[k], s.R[k], s.T[k], t.R, t.T, s.phase_r_rad[k], s.phase_t_rad[k],
                    lab::phase_rad(t.r), lab::phase_rad(t.t)},
                   name + " spectra.csv");
    }
}

TEST(CsvTables, EveryShippedScenarioReadsBackToTheValuesOfItsRun) {
    int scenarios = 0;
    for (const fs::directory_entry& file : fs::directory_iterator(LAB_SCENARIOS)) {
        if (file.path().extension() != ".toml") continue;
        const std::string name = file.path().stem().string();
        lab::Experiment experiment(lab::load_scenario(file.path().string()));
        experiment.keep_history(true);
        lab::Simulation& run = experiment.run();
        std::string rows_text =
            written([&](std::FILE* out) { return write_probe_header(out, run); });
        while (!run.finished()) {
            experiment.step();
            rows_text += written([&](std::FILE* out) { return write_probe_row(out, run); });
        }
        check_fields(run, name);
        check_probes(run, name, rows_text);
        if (experiment.has_spectra() && !run.blown_up()) check_spectra(experiment.spectra(), name);
        ++scenarios;
    }
    EXPECT_GE(scenarios, 13);
}

} // namespace
