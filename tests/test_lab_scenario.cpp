// Scenario files read and checked in process: what the reader refuses and where, what the
// checks refuse and where they point, the shipped files, and the grid a scenario gives.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "lab/analysis/experiment.h"
#include "lab/scenario/discretisation.h"
#include "lab/scenario/scenario_check.h"
#include "lab/scenario/scenario_reader.h"

namespace {

namespace fs = std::filesystem;

const fs::path scenarios = LAB_SCENARIOS;
const std::string file = "bad.toml";

// The reader's message for a text it refuses, or "" when it reads it.
std::string reader_error(const std::string& toml) {
    try {
        lab::parse_scenario(toml, file);
    } catch (const lab::ScenarioFileError& error) {
        return error.what();
    }
    return "";
}

//-----------------------------------------------------------------------------
// [SECTION] The reader: syntax, tables, keys and types
//-----------------------------------------------------------------------------

struct ReaderCase {
    const char* toml;
    const char* message; // what() begins with "bad.toml" and then this
};

TEST(LabScenarioReader, RefusesWithFileLineAndColumn) {
    const ReaderCase cases[] = {
        {"[grid\ncells = 100\n", ":1:6: "},
        {"", ":1:1: missing table [grid]"},
        {"grid = 1\n", ":1:8: grid must be a table [grid]"},
        {"[grids]\n", ":1:2: unknown table or key 'grids'; allowed: [grid], [boundary]"},
        {"[grid]\ncells = 100\nsize = 1\n", ":3:1: unknown key 'size' in [grid]; allowed: cells"},
        {"[grid]\ncells = 100\n", ":1:1: missing key 'cell_size' in [grid]"},
        {"[grid]\ncells = \"many\"\n", ":2:9: cells must be an integer, not a string"},
        {"[grid]\ncells = 9999999999\n",
         ":2:9: cells 9999999999 is out of range; allowed: 3 to 100000000"},
        {"[grid]\ncells = 10\ncell_size = true\n",
         ":3:13: cell_size must be a number, not a boolean"},
        {"[grid]\ncells = 10\ncell_size = 1e-3\nsteps = 1\nallow_unstable = 1\n",
         ":5:18: allow_unstable must be true or false, not an integer"},
        {"[grid]\ncells = 100\ncell_size = 1e-3\nsteps = 10\n[boundary]\nleft = \"absorbing\"\n",
         ":6:8: unknown left 'absorbing'; allowed: pec, pmc, abc, mur, pml"},
        {"[grid]\ncells = 10\ncell_size = 1e-3\nsteps = 1\n[source]\ncell = 5\n"
         "waveform = \"square\"\n",
         ":7:12: unknown waveform 'square'; allowed: gaussian, ricker, sine, modulated"},
        {"[grid]\ncells = 10\ncell_size = 1e-3\nsteps = 1\n[source]\ncell = 5\nlayer = 3\n",
         ":7:1: unknown key 'layer' in [source]"},
        {"layer = 3\n[grid]\ncells = 10\ncell_size = 1e-3\nsteps = 1\n[source]\ncell = 5\n",
         ":1:9: layer must be written as [[layer]] tables"},
        {"[grid]\ncells = 10\ncell_size = 1e-3\nsteps = 1\n[source]\ncell = 5\n"
         "[[probe]]\ncell = 3\n",
         ":7:1: missing key 'name' in probe 1"},
    };
    for (const ReaderCase& c : cases)
        EXPECT_EQ(reader_error(c.toml).rfind(file + c.message, 0), 0u)
            << "toml:\n"
            << c.toml << "expected: " << file << c.message << "\ngot: " << reader_error(c.toml);
}

TEST(LabScenarioReader, ReadsValuesAndWhereTheyStand) {
    const lab::Scenario s = lab::parse_scenario("[grid]\ncells = 100\ncell_size = 2\n"
                                                "steps = 7\n[source]\ncell = 5\ntype = \"tfsf\"\n"
                                                "[[layer]]\nfirst = 10\nlast = 20\neps_r = 4\n"
                                                "[[layer]]\nfirst = 30\nlast = 40\n",
                                                file);
    EXPECT_EQ(s.grid.cells, 100);
    EXPECT_EQ(s.grid.cell_size_m, 2.0); // an integer where a number goes
    EXPECT_EQ(s.grid.courant, 1.0);     // left at its default
    EXPECT_EQ(s.source.type, lab::SourceType::tfsf);
    ASSERT_EQ(s.layers.size(), 2u);
    EXPECT_EQ(s.layers[0].eps_r, 4.0);
    EXPECT_EQ(s.layers[1].last, 40);
    const std::pair<const char*, lab::SourcePosition> positions[] = {
        {"grid", {1, 1}},           {"grid.steps", {4, 9}},
        {"source.type", {7, 8}},    {"layer[0].eps_r", {11, 9}},
        {"layer[1].last", {14, 8}},
    };
    for (const auto& [key, at] : positions) {
        ASSERT_EQ(s.positions.count(key), 1u) << key;
        EXPECT_EQ(s.positions.at(key).line, at.line) << key;
        EXPECT_EQ(s.positions.at(key).column, at.column) << key;
    }
    EXPECT_EQ(s.positions.count("grid.courant"), 0u);
}

//-----------------------------------------------------------------------------
// [SECTION] The checks: what is refused and where it points
//-----------------------------------------------------------------------------

// A runnable file: a 1 mm, S = 1 grid of 100 cells (dt = 1 mm / c0, so half the step rate
// is 149.896 GHz), the source at cell 50 and probes a and b. The extra lines go at the end of
// [grid] and [source]; the tail, from line 13 on when there are none, after the probes.
std::string runnable(const std::string& grid_extra, const std::string& source_extra,
                     const std::string& tail) {
    return "[grid]\ncells = 100\ncell_size = 1e-3\nsteps = 10\n" + grid_extra +
           "[source]\ncell = 50\n" + source_extra +
           "[[probe]]\nname = \"a\"\ncell = 10\n[[probe]]\nname = \"b\"\ncell = 90\n" + tail;
}

struct CheckCase {
    std::string toml;
    const char* key;     // the key path the problem names
    const char* message; // the located message is "bad.toml" and this
};

TEST(LabScenarioCheck, FirstProblemNamesItsKeyAndPosition) {
    const std::string layer = "[[layer]]\nfirst = 20\nlast = 30\n";
    const std::string spectrum = "[spectrum]\nf_min = 1e9\nf_max = 1e11\npoints = 10\n"
                                 "reflected = \"a\"\n";
    const CheckCase cases[] = {
        {"[grid]\ncells = 2\ncell_size = 1e-3\nsteps = 10\n[source]\ncell = 1\n", "grid.cells",
         ":2:9: cells must be from 3 to 100000000"},
        {runnable("courant = 0.0\n", "", ""), "grid.courant",
         ":5:11: courant (S) must be greater than 0"},
        {runnable("courant = 1.2\n", "", ""), "grid.courant",
         ":5:11: courant 1.2 is above 1 and the run would blow up"},
        {"[grid]\ncells = 100\ncell_size = 1e-3\nsteps = 0\n[source]\ncell = 5\n", "grid.steps",
         ":4:9: steps must be from 1 to 1000000000"},
        {runnable("", "", "[boundary]\nleft = \"pml\"\npml_cells = 0\n"), "boundary.pml_cells",
         ":15:13: pml_cells must be at least 1"},
        // pml_cells left at 20 has no position of its own: the message points at its table.
        {"[grid]\ncells = 22\ncell_size = 1e-3\nsteps = 10\n[boundary]\nleft = \"pml\"\n"
         "[source]\ncell = 21\n",
         "boundary.pml_cells", ":5:1: the pml ends leave 2 of 22 cells"},
        {"[grid]\ncells = 100\ncell_size = 1e-3\nsteps = 10\n[boundary]\nleft = \"pml\"\n"
         "[source]\ncell = 5\n",
         "source.cell", ":8:8: source cell 5 lies inside a pml or at its edge; allowed: 20..99"},
        {runnable("", "type = \"tfsf\"\n", "[[layer]]\nfirst = 45\nlast = 49\n"), "source.cell",
         ":6:8: a tfsf source must sit in vacuum: cells 49 and 50 may not be in a layer"},
        {runnable("", "width = 0\n", ""), "source.width",
         ":7:9: width must be a positive number of steps"},
        {runnable("", "waveform = \"sine\"\nfrequency = 2e11\n", ""), "source.frequency",
         ":8:13: a sine waveform needs a frequency in Hz above 0 and at most 1.49896e+11 (half "
         "the step rate)"},
        {"[grid]\ncells = 10\ncell_size = 1e-3\nsteps = 10\n[source]\ncell = 5\n"
         "[[layer]]\nfirst = 2\nlast = 12\n",
         "layer[0].last", ":9:8: last cell 12 is outside the grid (0..9)"},
        {runnable("", "", "[[layer]]\nfirst = 30\nlast = 20\n"), "layer[0].first",
         ":14:9: first (30) is after last (20)"},
        {runnable("", "", layer + "eps_r = 0.81\n"), "layer[0].eps_r",
         ":16:9: eps_r * mu_r below S^2 = 1 makes the run unstable"},
        {runnable("", "", layer + "sigma = -1\n"), "layer[0].sigma",
         ":16:9: sigma must be 0 or more (S/m)"},
        {runnable("", "", layer + layer), "layer[1].first",
         ":17:9: layer 2 overlaps layer 1 (cells 20..30)"},
        {runnable("", "", "[[probe]]\nname = \"a\"\ncell = 3\n"), "probe[2].name",
         ":14:8: probe name 'a' is used twice"},
        {runnable("", "", "[[probe]]\nname = \"a b\"\ncell = 3\n"), "probe[2].name",
         ":14:8: probe name 'a b' must be ASCII letters (a-z, A-Z), digits, _ . or -"},
        {runnable("", "", "[[probe]]\nname = \"c\"\ncell = 100\n"), "probe[2].cell",
         ":15:8: probe cell 100 is outside the grid (0..99)"},
        {runnable("", "",
                  "[spectrum]\nf_min = 1e9\nf_max = 2e11\npoints = 10\nreflected = \"a\"\n"
                  "transmitted = \"b\"\n"),
         "spectrum.f_max",
         ":15:9: f_max must be from f_min to 1.49896e+11 Hz (half the step rate)"},
        {runnable("", "", spectrum + "transmitted = \"c\"\n"), "spectrum.transmitted",
         ":18:15: no probe is named 'c'"},
    };
    for (const CheckCase& c : cases) {
        const lab::Scenario s = lab::parse_scenario(c.toml, file);
        const std::optional<lab::ScenarioProblem> problem = lab::first_problem(s);
        ASSERT_TRUE(problem.has_value()) << c.toml;
        EXPECT_EQ(problem->key, c.key) << c.toml;
        const std::string located = lab::located_message(s, *problem);
        EXPECT_EQ(located.rfind(file + c.message, 0), 0u)
            << "expected: " << file << c.message << "\ngot: " << located;
    }
}

TEST(LabScenarioCheck, RunnableFilesPassAndInstabilityCanBeAllowed) {
    EXPECT_FALSE(lab::first_problem(lab::parse_scenario(runnable("", "", ""), file)));
    const std::string unstable = runnable("courant = 1.2\nallow_unstable = true\n", "", "");
    EXPECT_FALSE(lab::first_problem(lab::parse_scenario(unstable, file)));
    // A scenario built in code has no file: the message alone.
    lab::Scenario s = lab::parse_scenario(runnable("", "", ""), file);
    s.file.clear();
    s.positions.clear();
    s.source.cell = 200;
    const std::optional<lab::ScenarioProblem> problem = lab::first_problem(s);
    ASSERT_TRUE(problem.has_value());
    EXPECT_EQ(lab::located_message(s, *problem).rfind("source cell 200 is outside", 0), 0u);
}

//-----------------------------------------------------------------------------
// [SECTION] Shipped files
//-----------------------------------------------------------------------------

TEST(LabScenarioFiles, AllShippedScenariosLoad) {
    for (const char* name :
         {"fdtd1d", "absorbing_ends", "dielectric_interface", "slab", "lossy_slab", "pml",
          "dispersion", "instability", "ar_coating", "bragg_mirror"})
        EXPECT_NO_THROW(lab::load_scenario((scenarios / (std::string(name) + ".toml")).string()))
            << name;
    const lab::Scenario slab = lab::load_scenario((scenarios / "slab.toml").string());
    ASSERT_EQ(slab.layers.size(), 1u);
    EXPECT_EQ(slab.layers[0].eps_r, 4.0);
    EXPECT_EQ(slab.boundary.left, lab::Boundary::abc);
    EXPECT_EQ(slab.spectrum->points, 200);
    // 20 cells per wavelength in eps_r = 4 on 0.1 mm cells: c0 / (20 * 2 * 1e-4 m).
    EXPECT_NEAR(lab::frequency_resolved_by(slab, 20.0), 74.948e9, 1e6);
}

TEST(LabScenarioFiles, AMissingFileOrAFolderIsSaid) {
    const std::pair<std::string, const char*> cases[] = {
        {"missing.toml", "missing.toml: cannot read: No such file"},
        {scenarios.string(), ": cannot read: it is a directory"},
    };
    for (const auto& [path, message] : cases) {
        try {
            lab::load_scenario(path);
            ADD_FAILURE() << path << " was read";
        } catch (const lab::ScenarioFileError& error) {
            EXPECT_NE(std::string(error.what()).find(message), std::string::npos) << error.what();
        }
    }
}

//-----------------------------------------------------------------------------
// [SECTION] The grid a scenario gives
//-----------------------------------------------------------------------------

TEST(LabDiscretisation, TimeStepCourantAndTheLayerOfEachCell) {
    lab::Scenario s = lab::parse_scenario(
        runnable("courant = 0.5\n", "",
                 "[[layer]]\nfirst = 20\nlast = 29\neps_r = 4\n[[layer]]\nfirst = 60\n"
                 "last = 69\neps_r = 2\nmu_r = 8\nsigma = 0.5\n"),
        file);
    const lab::Discretisation grid(s);
    // dt = S dx / c0 = 0.5 mm / 299792458 m/s.
    EXPECT_NEAR(grid.dt_s, 1.6678204759907602e-12, 1e-27);
    EXPECT_EQ(grid.cells, 100);
    const std::pair<int, std::optional<std::size_t>> holders[] = {
        {19, std::nullopt}, {20, 0}, {29, 0}, {30, std::nullopt}, {60, 1}, {69, 1}, {99, {}}};
    for (const auto& [cell, layer] : holders)
        EXPECT_EQ(grid.materials.layer_at(cell), layer) << cell;
    EXPECT_EQ(grid.materials.at(65).sigma_s_per_m, 0.5);
    EXPECT_EQ(grid.materials.at(45).eps_r, 1.0); // vacuum between the layers
    // Light moves S / n cells per step: n = 2 in the first layer, 4 in the second.
    EXPECT_DOUBLE_EQ(grid.courant_at(25), 0.25);
    EXPECT_DOUBLE_EQ(grid.courant_in_layer(1), 0.125);
    EXPECT_DOUBLE_EQ(grid.courant_at(45), 0.5);
    // The normalisation run's grid: the same steps, vacuum everywhere.
    const lab::Discretisation vacuum(s, false);
    EXPECT_EQ(vacuum.dt_s, grid.dt_s);
    EXPECT_FALSE(vacuum.materials.layer_at(25).has_value());
}

} // namespace
