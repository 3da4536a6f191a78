// Layers written as optics writes them (metres, refractive index, quarter waves, periodic
// stacks, values with units) become the cells a [[layer]] in cells would, and the shipped
// coating and mirror agree with the transfer matrix and with the closed forms of optics.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "lab/analysis/experiment.h"
#include "lab/analysis/theory.h"
#include "lab/scenario/constants.h"
#include "lab/scenario/layer_geometry.h"
#include "lab/scenario/scenario_check.h"
#include "lab/scenario/scenario_reader.h"
#include "lab/scenario/units.h"

namespace {

namespace fs = std::filesystem;

const fs::path scenarios = LAB_SCENARIOS;
const std::string file = "optics.toml";

// A 1000-cell grid of 0.1 mm cells (lines 1-4), a source (5-6), then the layers.
std::string with_layers(const std::string& layers) {
    return "[grid]\ncells = 1000\ncell_size = \"0.1 mm\"\nsteps = 10\n[source]\ncell = 50\n" +
           layers;
}

std::string reader_error(const std::string& toml) {
    try {
        lab::parse_scenario(toml, file);
    } catch (const lab::ScenarioFileError& error) {
        return error.what();
    }
    return "";
}

//-----------------------------------------------------------------------------
// [SECTION] Values with units
//-----------------------------------------------------------------------------

TEST(LabUnits, EveryUnitScalesToSi) {
    const struct {
        const char* text;
        lab::Quantity quantity;
        double si;
    } cases[] = {
        {"6 mm", lab::Quantity::length, 6e-3},    {"0.1 mm", lab::Quantity::length, 1e-4},
        {"2 m", lab::Quantity::length, 2.0},      {"3 um", lab::Quantity::length, 3e-6},
        {"500nm", lab::Quantity::length, 5e-7},   {"20 GHz", lab::Quantity::frequency, 2e10},
        {"1 Hz", lab::Quantity::frequency, 1.0},  {"5 kHz", lab::Quantity::frequency, 5e3},
        {"7 MHz", lab::Quantity::frequency, 7e6}, {"0.3 THz", lab::Quantity::frequency, 3e11},
        {"40 ps", lab::Quantity::time, 4e-11},    {"1 s", lab::Quantity::time, 1.0},
        {"2 ms", lab::Quantity::time, 2e-3},      {"3 us", lab::Quantity::time, 3e-6},
        {"4 ns", lab::Quantity::time, 4e-9},      {"5 fs", lab::Quantity::time, 5e-15},
        {"1e-3 m", lab::Quantity::length, 1e-3},
    };
    for (const auto& c : cases) {
        const lab::UnitValue value = lab::parse_with_unit(c.text, c.quantity);
        ASSERT_TRUE(value.si.has_value()) << c.text << ": " << value.problem;
        EXPECT_NEAR(*value.si, c.si, 1e-12 * c.si) << c.text;
    }
}

TEST(LabUnits, ABadUnitIsLocatedAndTheAllowedOnesListed) {
    const struct {
        std::string toml;
        const char* message;
    } cases[] = {
        {"[grid]\ncells = 100\ncell_size = \"6 furlong\"\n",
         ":3:13: cell_size: unknown unit 'furlong' in '6 furlong'; a length is a number or a "
         "string like \"6 mm\"; units: m, mm, um, nm"},
        {"[grid]\ncells = 100\ncell_size = \"20 GHz\"\n", "units: m, mm, um, nm"},
        {"[grid]\ncells = 100\ncell_size = \"mm\"\n", ":3:13: cell_size: 'mm' does not start "
                                                      "with a number"},
        {with_layers("[spectrum]\nf_min = \"1 Ghz\"\n"),
         ":8:9: f_min: unknown unit 'Ghz' in '1 Ghz'; a frequency is a number or a string like "
         "\"20 GHz\"; units: Hz, kHz, MHz, GHz, THz"},
        {with_layers("delay = \"40 pico\"\n"), "units: s, ms, us, ns, ps, fs"},
    };
    for (const auto& c : cases)
        EXPECT_NE(reader_error(c.toml).find(c.message), std::string::npos)
            << c.toml << "\ngot: " << reader_error(c.toml);
}

TEST(LabUnits, TimesOfTheSourceBecomeSteps) {
    // dt = S dx / c0 = 0.1 mm / c0 = 0.33356 ps: 40 ps is 119.9 steps.
    const lab::Scenario s =
        lab::parse_scenario(with_layers("delay = \"40 ps\"\nwidth = \"4 ps\"\n"), file);
    EXPECT_NEAR(s.source.delay_steps, 40e-12 / (1e-4 / lab::c0), 1e-9);
    EXPECT_NEAR(s.source.width_steps, 4e-12 / (1e-4 / lab::c0), 1e-9);
}

//-----------------------------------------------------------------------------
// [SECTION] Layers in metres, by index, as quarter waves, and stacks
//-----------------------------------------------------------------------------

struct LayerCase {
    std::string layers;
    int first, last;
    double eps_r;
};

TEST(LabOpticsLayers, EachFormGivesTheCellsOfItsThickness) {
    const LayerCase cases[] = {
        {"[[layer]]\nfirst = 300\nlast = 359\neps_r = 4\n", 300, 359, 4.0},
        {"[[layer]]\nstart = \"30 mm\"\nthickness = \"6 mm\"\neps_r = 4\n", 300, 359, 4.0},
        {"[[layer]]\nstart = 0.03\nthickness = 0.006\nn = 2\n", 300, 359, 4.0},
        // c0 / (4 n f) = 299.79 mm / (4 * 2 * 12.49 GHz)... 3 mm at 12.491 GHz: 30 cells.
        {"[[layer]]\nstart = \"30 mm\"\nquarter_wave_at = 12.4913524e9\nn = 2\n", 300, 329, 4.0},
        // The quarter wave counts mu_r too: n = sqrt(2 * 2) = 2.
        {"[[layer]]\nstart = \"30 mm\"\nquarter_wave_at = 12.4913524e9\neps_r = 2\nmu_r = 2\n", 300,
         329, 2.0},
        // 2.66 mm rounds to 27 cells of 0.1 mm.
        {"[[layer]]\nstart = \"30.04 mm\"\nthickness = \"2.66 mm\"\nn = 1.5\n", 300, 326, 2.25},
    };
    for (const LayerCase& c : cases) {
        const lab::Scenario s = lab::parse_scenario(with_layers(c.layers), file);
        ASSERT_EQ(s.layers.size(), 1u) << c.layers;
        EXPECT_EQ(s.layers[0].first, c.first) << c.layers;
        EXPECT_EQ(s.layers[0].last, c.last) << c.layers;
        EXPECT_DOUBLE_EQ(s.layers[0].eps_r, c.eps_r) << c.layers;
    }
}

TEST(LabOpticsLayers, AStackExpandsPeriodAfterPeriodBackToBack) {
    const lab::Scenario s = lab::parse_scenario(
        with_layers("[[layer]]\nfirst = 100\nlast = 109\n"
                    "[[stack]]\nstart = \"20 mm\"\nrepeat = 3\n"
                    "[[stack.layer]]\nthickness = \"1 mm\"\nn = 2\n"
                    "[[stack.layer]]\nthickness = \"2 mm\"\neps_r = 3\nsigma = 0.5\n"),
        file);
    ASSERT_EQ(s.layers.size(), 7u);
    const int firsts[] = {100, 200, 210, 230, 240, 260, 270};
    for (std::size_t i = 0; i < 7; ++i)
        EXPECT_EQ(s.layers[i].first, firsts[i]) << i;
    EXPECT_EQ(s.layers[6].last, 289);
    EXPECT_DOUBLE_EQ(s.layers[3].eps_r, 4.0);
    EXPECT_DOUBLE_EQ(s.layers[4].eps_r, 3.0);
    EXPECT_DOUBLE_EQ(s.layers[4].sigma_s_per_m, 0.5);
    EXPECT_FALSE(lab::first_problem(s).has_value());
    // A problem of an expanded layer points at its entry in the stack.
    lab::Scenario overlapping = s;
    overlapping.layers[0].last = 205;
    const std::optional<lab::ScenarioProblem> problem = lab::first_problem(overlapping);
    ASSERT_TRUE(problem.has_value());
    EXPECT_EQ(lab::located_message(overlapping, *problem),
              file + ":14:13: layer 2 overlaps layer 1 (cells 100..205)");
}

TEST(LabOpticsLayers, MixedOrMissingFormsAreRefusedWhereWritten) {
    const struct {
        std::string layers;
        const char* message;
    } cases[] = {
        {"[[layer]]\nfirst = 300\nthickness = \"6 mm\"\n",
         ":9:13: layer 1 mixes first/last (cells) with start/thickness (metres); use one pair"},
        {"[[layer]]\nstart = \"3 mm\"\nlast = 50\n", ":8:9: layer 1 mixes first/last"},
        {"[[layer]]\nstart = \"3 mm\"\nthickness = \"1 mm\"\nn = 2\neps_r = 4\n",
         ":11:9: give n or eps_r in layer 1, not both: n sets eps_r = n^2 and mu_r = 1"},
        {"[[layer]]\nstart = \"3 mm\"\nthickness = \"1 mm\"\nquarter_wave_at = \"1 GHz\"\n",
         ":10:19: give thickness or quarter_wave_at in layer 1, not both"},
        {"[[layer]]\nstart = \"3 mm\"\nn = 2\n",
         ":7:1: missing key 'thickness' (or 'quarter_wave_at') in layer 1"},
        {"[[layer]]\nthickness = \"3 mm\"\n", ":7:1: missing key 'start' in layer 1"},
        {"[[layer]]\nstart = \"3 mm\"\nthickness = \"0.04 mm\"\n",
         ":9:13: layer 1: 4e-05 m is less than half a cell (0.0001 m) and rounds to no cell; it "
         "needs a cell_size of at most 4e-05 m"},
        {"[[layer]]\nstart = \"3 mm\"\nthickness = \"-1 mm\"\n",
         ":9:13: thickness must be above 0"},
        {"[[layer]]\nstart = \"3 mm\"\nthickness = \"1 mm\"\nn = -2\n",
         ":10:5: n must be a positive number"},
        {"[[stack]]\nstart = \"3 mm\"\nrepeat = 0\n[[stack.layer]]\nthickness = \"1 mm\"\n",
         ":9:10: repeat 0 is out of range; allowed: 1 to 100000"},
        {"[[stack]]\nstart = \"3 mm\"\nrepeat = 2\n", ":9:10: stack 1 needs [[stack.layer]]"},
        {"[[stack]]\nstart = \"3 mm\"\nrepeat = 2\n[[stack.layer]]\nn = 2\n",
         ":10:1: missing key 'thickness' (or 'quarter_wave_at') in stack 1 layer 1"},
        {"[[stack]]\nstart = \"3 mm\"\nrepeat = 2\n[[stack.layer]]\nfirst = 2\n",
         ":11:1: unknown key 'first' in stack 1 layer 1; allowed: thickness, quarter_wave_at"},
    };
    for (const auto& c : cases) {
        const std::string error = reader_error(with_layers(c.layers));
        EXPECT_EQ(error.rfind(file + c.message, 0), 0u)
            << c.layers << "expected: " << file << c.message << "\ngot: " << error;
    }
}

TEST(LabOpticsLayers, RoundingBeyondOnePercentIsReported) {
    const lab::Scenario s = lab::parse_scenario(
        with_layers("[[layer]]\nstart = \"10 mm\"\nthickness = \"2.66 mm\"\n" // 27 cells: 1.5 %
                    "[[layer]]\nstart = \"20 mm\"\nthickness = \"6.02 mm\"\n" // 60 cells: 0.3 %
                    "[[layer]]\nfirst = 400\nlast = 400\n"),                  // in cells
        file);
    const std::vector<std::string> notes = lab::rounding_notes(s);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0], "layer 1: cells 100..126, 2.7 mm thick (written 2.66 mm)");
}

//-----------------------------------------------------------------------------
// [SECTION] The shipped coating and mirror against theory
//-----------------------------------------------------------------------------

lab::Spectra measured(const lab::Scenario& s) {
    lab::Experiment e(s);
    e.keep_history(false);
    while (!e.run().finished())
        e.step();
    return e.spectra();
}

std::size_t nearest(const std::vector<double>& frequencies, double f) {
    std::size_t best = 0;
    for (std::size_t k = 0; k < frequencies.size(); ++k)
        if (std::fabs(frequencies[k] - f) < std::fabs(frequencies[best] - f)) best = k;
    return best;
}

// Every measured value within 0.01 of the transfer matrix up to the band's top, which the
// files set at 40 cells per wavelength in their densest layer.
void expect_agrees_with_transfer_matrix(const lab::Scenario& s, const lab::Spectra& spectra) {
    ASSERT_TRUE(spectra.theory.has_value());
    EXPECT_LE(s.spectrum->f_max_hz, lab::frequency_resolved_by(s, 40.0) * 1.0001);
    for (std::size_t k = 0; k < spectra.R.size(); ++k) {
        if (std::isnan(spectra.R[k])) continue;
        EXPECT_NEAR(spectra.R[k], (*spectra.theory)[k].R, 0.01) << spectra.frequency_hz[k];
        EXPECT_NEAR(spectra.T[k], (*spectra.theory)[k].T, 0.01) << spectra.frequency_hz[k];
    }
}

TEST(LabShippedOptics, TheCoatingCancelsReflectionAtItsDesignFrequency) {
    const lab::Scenario s = lab::load_scenario((scenarios / "ar_coating.toml").string());
    ASSERT_EQ(s.layers.size(), 3u);
    EXPECT_EQ(s.layers[0].last - s.layers[0].first + 1, 20); // 2.5 mm of 0.125 mm cells
    const lab::Spectra spectra = measured(s);
    expect_agrees_with_transfer_matrix(s, spectra);
    // A quarter wave of n = sqrt(n_plate) matches each face: R = 0 at 20 GHz, whereas the
    // bare plate's faces reflect ((2.25 - 1) / (2.25 + 1))^2 = 0.148 each.
    EXPECT_LT(spectra.R[nearest(spectra.frequency_hz, 20e9)], 0.005);
}

TEST(LabShippedOptics, TheBraggMirrorReflectsAsItsClosedFormSays) {
    const lab::Scenario s = lab::load_scenario((scenarios / "bragg_mirror.toml").string());
    ASSERT_EQ(s.layers.size(), 16u);
    const lab::Spectra spectra = measured(s);
    expect_agrees_with_transfer_matrix(s, spectra);
    // N quarter-wave pairs between vacuum: R = ((1 - q) / (1 + q))^2, q = (n_H / n_L)^(2N).
    const double q = std::pow(2.0 / 1.5, 16.0);
    const double r_peak = std::pow((1.0 - q) / (1.0 + q), 2.0);
    EXPECT_NEAR(spectra.R[nearest(spectra.frequency_hz, 20e9)], r_peak, 0.01);
}

} // namespace
