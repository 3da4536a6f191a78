// Scenario files written to break the lab: values each allowed alone that together overflow
// or vanish in doubles, counts that overflow an int, many layers, and the solver on what
// the checks let through.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "lab/scenario/discretisation.h"
#include "lab/scenario/finite_checks.h"
#include "lab/scenario/scenario_check.h"
#include "lab/scenario/scenario_reader.h"
#include "lab/solver/simulation.h"

namespace {

const std::string file = "bad.toml";

// [grid] of 100 cells with the given cell size and extra lines, then [source] at cell 50
// with its extra lines, then the tail.
std::string scenario(const std::string& cell_size, const std::string& grid_extra,
                     const std::string& source_extra, const std::string& tail = "") {
    return "[grid]\ncells = 100\ncell_size = " + cell_size + "\nsteps = 50\n" + grid_extra +
           "[source]\ncell = 50\n" + source_extra + tail;
}

std::optional<std::string> problem_of(const std::string& toml) {
    const lab::Scenario s = lab::parse_scenario(toml, file);
    const std::optional<lab::ScenarioProblem> problem = lab::first_problem(s);
    if (!problem) return std::nullopt;
    return lab::located_message(s, *problem);
}

// The toml with the value after "key = " on the line that starts with the key replaced.
std::string with_value(std::string toml, const std::string& key, const std::string& value) {
    const std::size_t line = toml.find("\n" + key + " = ") + 1;
    const std::size_t start = line + key.size() + 3;
    return toml.replace(start, toml.find('\n', start) - start, value);
}

//-----------------------------------------------------------------------------
// [SECTION] Numbers that overflow or vanish together
//-----------------------------------------------------------------------------

struct UncomputableCase {
    std::string toml;
    const char* key;     // the line the message points at holds this key
    const char* located; // the message starts with "bad.toml" and this
};

TEST(LabHostileInput, UncomputableNumbersAreRefusedAtTheirKeyWithARangeThatWorks) {
    const std::string layer = "[[layer]]\nfirst = 10\nlast = 20\n";
    const UncomputableCase cases[] = {
        // dt = S dx / c0 underflows to 0: every coefficient would be 0 / 0.
        {scenario("1e-320", "", ""), "cell_size", ":3:13: cell_size 1e-320 m leads to numbers"},
        // The last cell's position, 99 dx, is infinite.
        {scenario("1e308", "", ""), "cell_size", ":3:13: cell_size 1e+308 m leads to numbers"},
        // (1 - 2 a^2) exp(-a^2) with a^2 infinite is -inf * 0.
        {scenario("1e-3", "", "waveform = \"ricker\"\nfrequency = 1e10\ndelay = 1e200\n"), "delay",
         ":9:9: delay 1e+200 steps leads to numbers"},
        // An envelope of 0 times the sine of an infinite phase.
        {scenario("1e-3", "",
                  "waveform = \"modulated\"\nfrequency = 1e10\ndelay = 1e308\nwidth = 1e300\n"),
         "delay", ":9:9: delay 1e+308 steps leads to numbers"},
        // sigma dt / (2 eps) is infinite: ca = inf / inf.
        {scenario("1", "", "", layer + "sigma = 1e308\n"), "sigma",
         ":10:9: sigma 1e+308 S/m leads to numbers"},
        // dt / (eps dx) overflows.
        {scenario("1e-3", "", "", layer + "eps_r = 1e-307\nmu_r = 2e307\n"), "eps_r",
         ":10:9: eps_r 1e-307 leads to numbers"},
        {scenario("1e-3", "courant = 1e306\nallow_unstable = true\n", ""), "courant",
         ":5:11: courant 1e+306 leads to numbers"},
    };
    for (const UncomputableCase& c : cases) {
        const std::optional<std::string> located = problem_of(c.toml);
        ASSERT_TRUE(located.has_value()) << c.toml;
        EXPECT_EQ(located->rfind(file + c.located, 0), 0u) << *located;
        // "KEY must be from LO to HI": both ends, written back into the file, are accepted.
        const std::string must = std::string(c.key) + " must be from ";
        const std::size_t from = located->rfind(must);
        ASSERT_NE(from, std::string::npos) << *located;
        char* end = nullptr;
        const double lo = std::strtod(located->c_str() + from + must.size(), &end);
        const double hi = std::strtod(std::string(end).substr(4).c_str(), nullptr);
        EXPECT_LE(lo, hi) << *located;
        for (double bound : {lo, hi}) {
            char text[32];
            std::snprintf(text, sizeof text, "%.17g", bound);
            const std::string fixed = with_value(c.toml, c.key, text);
            EXPECT_FALSE(problem_of(fixed).has_value()) << fixed << "\n" << *problem_of(fixed);
        }
    }
}

// At the edges of what the checks accept every value the solver computes is a number.
TEST(LabHostileInput, RunsAtTheEdgesOfTheRangesStayFinite) {
    const std::string layer = "[[layer]]\nfirst = 10\nlast = 20\n";
    const std::string edges[] = {
        scenario("6.7e-300", "", ""),
        scenario("1.8e306", "", ""),
        scenario("1e-3", "", "waveform = \"ricker\"\nfrequency = 1e10\ndelay = 9e154\n"),
        scenario("1", "", "", layer + "sigma = 9.5e305\n"),
        scenario("1e-3", "", "", layer + "eps_r = 1e-300\nmu_r = 1e300\n"),
    };
    for (const std::string& toml : edges) {
        const lab::Scenario s = lab::parse_scenario(toml, file);
        ASSERT_FALSE(lab::first_problem(s).has_value()) << toml;
        lab::Simulation run(s);
        while (!run.finished())
            run.step();
        for (std::size_t i = 0; i < run.ez().size(); ++i)
            ASSERT_TRUE(std::isfinite(run.ez()[i]) && std::isfinite(run.hy()[i])) << toml << i;
        EXPECT_TRUE(std::isfinite(run.time_s()));
    }
}

// Without probes the whole grid is watched: a run that grows is stopped, not written.
TEST(LabHostileInput, AnUnstableRunWithoutProbesIsCaught) {
    lab::Simulation run(lab::parse_scenario(
        scenario("1e-3", "courant = 1e300\nallow_unstable = true\n", ""), file));
    while (!run.finished())
        run.step();
    EXPECT_TRUE(run.blown_up());
    EXPECT_LT(run.step_count(), 5);
}

//-----------------------------------------------------------------------------
// [SECTION] Counts and messages
//-----------------------------------------------------------------------------

TEST(LabHostileInput, MessagesSayWhatIsWrongAndWhatWorks) {
    const std::string pml = "[boundary]\nleft = \"pml\"\nright = \"pml\"\n";
    const std::pair<std::string, const char*> cases[] = {
        // Two ends of 2^31 - 1 cells overflow an int.
        {scenario("1e-3", "", "", pml + "pml_cells = 2147483647\n"),
         ":10:13: the pml ends take more than the 100 cells; at least 3 must stay outside them; "
         "pml_cells must be from 1 to 48"},
        {scenario("1e-3", "", "", pml + "pml_cells = 1100000000\n"),
         ":10:13: the pml ends take more than the 100 cells"},
        {scenario("1e-3", "", "", "[boundary]\nright = \"pml\"\npml_cells = 98\n"),
         ":9:13: the pml ends leave 2 of 100 cells; at least 3 must stay outside them; "
         "pml_cells must be from 1 to 97"},
        // The difference from 1 is shown.
        {scenario("1e-3", "courant = 1.000001\n", ""), ":5:11: courant 1.000001 is above 1"},
        {with_value(scenario("1e-3", "", "type = \"tfsf\"\n"), "cell", "0"),
         ":6:8: a tfsf source also corrects the field one cell to its left, so it cannot sit "
         "at cell 0; allowed: 1..99"},
    };
    for (const auto& [toml, message] : cases) {
        const std::optional<std::string> located = problem_of(toml);
        ASSERT_TRUE(located.has_value()) << toml;
        EXPECT_EQ(located->rfind(file + message, 0), 0u) << *located;
    }
    try {
        lab::parse_scenario("[grid]\ncells = 10\ncell_size = 1\nsteps = 1\n", file);
        ADD_FAILURE() << "read without [source]";
    } catch (const lab::ScenarioFileError& error) {
        EXPECT_STREQ(error.what(), "bad.toml:1:1: missing table [source]");
    }
}

//-----------------------------------------------------------------------------
// [SECTION] Many layers
//-----------------------------------------------------------------------------

std::string one_cell_layers(int count, int overlapping_last) {
    std::string toml = "[grid]\ncells = " + std::to_string(count + 10) +
                       "\ncell_size = 1e-3\nsteps = 1\n[source]\ncell = 2\n";
    for (int i = 0; i < count; ++i) {
        const int first = i == count - 1 ? overlapping_last : 5 + i;
        toml += "[[layer]]\nfirst = " + std::to_string(first) +
                "\nlast = " + std::to_string(5 + i) + "\neps_r = 2\n";
    }
    return toml;
}

TEST(LabHostileInput, OverlapsAreFoundAmongSixtyThousandLayers) {
    constexpr int layers = 60'000;
    EXPECT_FALSE(problem_of(one_cell_layers(layers, 5 + layers - 1)).has_value());
    // The last layer reaches back over the 1,000 layers before it.
    const std::optional<std::string> overlap = problem_of(one_cell_layers(layers, 5 + 59'000));
    ASSERT_TRUE(overlap.has_value());
    EXPECT_NE(overlap->find("layer 60000 overlaps layer"), std::string::npos) << *overlap;
    EXPECT_NE(overlap->find(":240004:9:"), std::string::npos) << *overlap; // layer[59999].first
    const std::pair<std::string, const char*> small[] = {
        {"[[layer]]\nfirst = 10\nlast = 20\n[[layer]]\nfirst = 30\nlast = 40\n"
         "[[layer]]\nfirst = 5\nlast = 9\n[[layer]]\nfirst = 15\nlast = 35\n",
         "layer 4 overlaps layer 2 (cells 30..40)"},
        {"[[layer]]\nfirst = 10\nlast = 20\n[[layer]]\nfirst = 20\nlast = 20\n",
         "layer 2 overlaps layer 1 (cells 10..20)"},
    };
    for (const auto& [tail, message] : small) {
        const std::optional<std::string> found = problem_of(scenario("1e-3", "", "", tail));
        ASSERT_TRUE(found.has_value()) << tail;
        EXPECT_NE(found->find(message), std::string::npos) << *found;
    }
}

// The layer of each cell, found by bisection, is the layer a plain search finds: the
// latest layer holding the cell, vacuum elsewhere, overlapping or not.
TEST(LabHostileInput, TheLayerOfACellIsTheLatestThatHoldsIt) {
    std::mt19937 random(27);
    for (int trial = 0; trial < 200; ++trial) {
        std::vector<lab::Layer> layers(random() % 12);
        for (lab::Layer& l : layers) {
            l.first = static_cast<int>(random() % 60);
            l.last = l.first + static_cast<int>(random() % (trial % 2 == 0 ? 3 : 15));
        }
        const lab::CellMaterials materials(layers);
        for (int cell = -1; cell < 80; ++cell) {
            std::optional<std::size_t> expected;
            for (std::size_t i = 0; i < layers.size(); ++i)
                if (cell >= layers[i].first && cell <= layers[i].last) expected = i;
            ASSERT_EQ(materials.layer_at(cell), expected) << "trial " << trial << " cell " << cell;
        }
    }
}

} // namespace
