// Set-ups whose R and T would mean nothing are refused where they are written; set-ups that
// merely measure worse are run with a warning: each against the physics that makes it so.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "lab/analysis/run_warnings.h"
#include "lab/scenario/scenario_check.h"
#include "lab/scenario/scenario_reader.h"

namespace {

const std::string file = "bad.toml";

// A 100-cell, 1 mm grid with a [spectrum] whose reflected probe r sits at cell 30 and
// transmitted probe t at 80; the source (cell 20) takes source_extra; probe cells and the
// tail (layers, [boundary]) may be changed. Lines: [source] 5-7+, probes after it.
std::string spectral(const std::string& source_extra, int r_cell, int t_cell,
                     const std::string& tail, const std::string& grid_extra = "",
                     int source_cell = 20, const std::string& transmitted = "t") {
    return "[grid]\ncells = 100\ncell_size = 1e-3\nsteps = 10\n" + grid_extra +
           "[source]\ncell = " + std::to_string(source_cell) + "\n" + source_extra +
           "[[probe]]\nname = \"r\"\ncell = " + std::to_string(r_cell) +
           "\n[[probe]]\nname = \"t\"\ncell = " + std::to_string(t_cell) +
           "\n[spectrum]\nf_min = 1e9\nf_max = 1e11\npoints = 10\nreflected = \"r\"\n"
           "transmitted = \"" +
           transmitted + "\"\n" + tail;
}

const std::string slab = "[[layer]]\nfirst = 40\nlast = 50\neps_r = 4\n";
const std::string half_space = "[[layer]]\nfirst = 40\nlast = 99\neps_r = 4\n";

struct Refusal {
    std::string toml;
    const char* key;     // the key the problem names
    const char* located; // "bad.toml" then this, up to where the reason starts
    const char* reason;  // a part of the message that says why or what to use
};

std::string message_of(const std::string& toml, std::string& key) {
    const lab::Scenario s = lab::parse_scenario(toml, file);
    const std::optional<lab::ScenarioProblem> problem = lab::first_problem(s);
    if (!problem) return "";
    key = problem->key;
    return lab::located_message(s, *problem);
}

//-----------------------------------------------------------------------------
// [SECTION] Refusals: R and T would mean nothing
//-----------------------------------------------------------------------------

TEST(LabPlacementCheck, RefusesSetUpsWhoseSpectraMeanNothing) {
    const Refusal cases[] = {
        // A hard source is a wall: the reflected wave bounces back into the probes.
        {spectral("type = \"hard\"\n", 30, 80, slab), "source.type", ":7:8: a hard source",
         "use type = \"soft\" or \"tfsf\""},
        {spectral("", 30, 80, slab, "", 45), "source.cell",
         ":6:8: the source at cell 45 lies in layer 1", "before the first layer (cells below 40)"},
        {spectral("", 30, 80, slab, "", 60), "source.cell",
         ":6:8: the source at cell 60 lies beyond", "cells below 40"},
        {spectral("", 45, 80, slab), "probe[0].cell", ":9:8: the reflected probe 'r' at cell 45",
         "lies in layer 1"},
        {spectral("", 60, 80, slab), "probe[0].cell", ":9:8: the reflected probe 'r' at cell 60",
         "beyond the first layer's front face"},
        {spectral("", 30, 45, slab), "probe[1].cell", ":12:8: the transmitted probe 't' at cell 45",
         "beyond the last layer (cells above 50)"},
        {spectral("", 30, 40, half_space), "probe[1].cell",
         ":12:8: the transmitted probe 't' at cell 40", "past its front face (cells above 40)"},
        {spectral("", 80, 30, ""), "probe[1].cell", ":12:8: the transmitted probe 't' at cell 30",
         "right of the reflected probe 'r'"},
        {spectral("", 30, 30, ""), "probe[1].cell", ":12:8: the transmitted probe 't'",
         "right of the reflected probe"},
        {spectral("", 30, 80, "", "", 20, "r"), "spectrum.transmitted",
         ":18:15: reflected and transmitted name the same probe 'r'", "two probes"},
        // Inside a pml the fields are being absorbed: a probe there records the absorption.
        {spectral("", 30, 90, "[boundary]\nright = \"pml\"\n"), "probe[1].cell",
         ":12:8: probe 't' at cell 90 lies inside a pml", "allowed: cells 0..79"},
        {spectral("", 30, 75, "[boundary]\nright = \"pml\"\n[[layer]]\nfirst = 60\nlast = 85\n"),
         "layer[0].last", ":23:8: layer 1 ends inside a pml at cell 85",
         "run it to the grid's end cell as a half-space"},
        {spectral("", 30, 75, "[boundary]\nright = \"pml\"\n[[layer]]\nfirst = 85\nlast = 99\n"),
         "layer[0].first", ":22:9: layer 1 starts inside a pml at cell 85",
         "keep its faces in cells 0..79"},
    };
    for (const Refusal& c : cases) {
        std::string key;
        const std::string located = message_of(c.toml, key);
        EXPECT_EQ(key, c.key) << c.toml << located;
        EXPECT_EQ(located.rfind(file + c.located, 0), 0u) << c.toml << "got: " << located;
        EXPECT_NE(located.find(c.reason), std::string::npos) << located;
    }
}

TEST(LabPlacementCheck, AcceptsTheSetUpsThatMeasureSense) {
    const std::string accepted[] = {
        spectral("", 30, 80, slab),
        spectral("", 10, 80, slab),                  // left of a soft source, which is open
        spectral("type = \"tfsf\"\n", 10, 80, slab), // the scattered-field side of a tfsf one
        spectral("", 30, 60, half_space + "[boundary]\nright = \"pml\"\n"), // a half-space
        spectral("", 30, 80, ""),                                           // no layers
        // Without a spectrum a hard source and a source inside a layer are demonstrations.
        "[grid]\ncells = 100\ncell_size = 1e-3\nsteps = 10\n[source]\ntype = \"hard\"\n"
        "cell = 45\n" +
            slab,
    };
    for (const std::string& toml : accepted) {
        std::string key;
        EXPECT_EQ(message_of(toml, key), "") << toml;
    }
}

//-----------------------------------------------------------------------------
// [SECTION] Warnings known before the run
//-----------------------------------------------------------------------------

struct SetupCase {
    std::string toml;
    std::vector<std::string> expected; // a part of each warning, in order
};

TEST(LabRunWarnings, SetUpsThatMeasureWorseAreNamed) {
    const std::string abc = "[boundary]\nleft = \"abc\"\nright = \"abc\"\n";
    const std::string mur = "[boundary]\nleft = \"mur\"\nright = \"mur\"\n";
    const std::string no_spectrum = "[grid]\ncells = 100\ncell_size = 1e-3\nsteps = 10\n"
                                    "courant = 0.5\n[source]\ncell = 20\n" +
                                    abc;
    const SetupCase cases[] = {
        // At S = 0.5 the abc end reflects (1 - S) / (1 + S) = 1/3 of a slow wave.
        {spectral("", 30, 80, abc, "courant = 0.5\n"), {"|r| = (1 - S) / (1 + S) = 0.33"}},
        {spectral("", 30, 80, abc), {}},
        {spectral("", 30, 80, mur, "courant = 0.5\n"), {}},
        {no_spectrum, {}},
        // A Gaussian centred fewer than 3 widths after step 0 starts from a jump.
        {spectral("delay = -5\n", 30, 80, abc), {"delay -5 is below 3 widths (30 steps)"}},
        {spectral("delay = 29\nwidth = 10\n", 30, 80, abc), {"use delay >= 30"}},
        {spectral("delay = 30\nwidth = 10\n", 30, 80, abc), {}},
        // A Ricker wavelet's bell is 1 / (pi f dt) steps wide: 1 / (pi 10 GHz 3.34 ps) = 9.5.
        {spectral("waveform = \"ricker\"\nfrequency = 1e10\ndelay = 20\n", 30, 80, abc),
         {"use delay >= 29"}},
        {spectral("waveform = \"sine\"\nfrequency = 1e10\ndelay = 0\n", 30, 80, abc), {}},
        {spectral("delay = 0\n", 30, 80, abc, "courant = 0.5\n"), {"abc ends", "jump"}},
    };
    for (const SetupCase& c : cases) {
        const std::vector<std::string> warnings =
            lab::setup_warnings(lab::parse_scenario(c.toml, file));
        ASSERT_EQ(warnings.size(), c.expected.size()) << c.toml;
        for (std::size_t i = 0; i < warnings.size(); ++i)
            EXPECT_NE(warnings[i].find(c.expected[i]), std::string::npos) << warnings[i];
    }
}

//-----------------------------------------------------------------------------
// [SECTION] Spectra outside what energy allows
//-----------------------------------------------------------------------------

struct SpectrumCase {
    double R, T;
    bool lossy;           // a conducting layer absorbs: R + T < 1 is no fault
    const char* expected; // a part of the warning; nullptr when none is due
};

TEST(LabRunWarnings, SpectraOutsideZeroToOneAreNamedWithTheirCause) {
    const double nan = std::nan("");
    const SpectrumCase cases[] = {
        {0.5, 0.5, false, nullptr},
        {0.0, 1.0, false, nullptr},
        {1.0005, 0.0, false, nullptr}, // within the tolerance
        {1.2, 0.0, false, "R = 1.2 at 10 GHz"},
        {0.1, -0.01, false, "T = -0.01 at 10 GHz"},
        {0.5, 0.51, false, "R + T = 1.01 at 10 GHz"},
        {0.5, 0.51, true, "R + T = 1.01"}, // more out than in is wrong even with losses
        {0.2, 0.3, true, nullptr},
        {nan, nan, false, nullptr}, // not measured
    };
    for (const SpectrumCase& c : cases) {
        lab::Scenario s = lab::parse_scenario(spectral("", 30, 80, slab), file);
        s.layers[0].sigma_s_per_m = c.lossy ? 1.0 : 0.0;
        lab::Spectra spectra;
        spectra.frequency_hz = {1e10};
        spectra.R = {c.R};
        spectra.T = {c.T};
        const std::optional<std::string> warning = lab::spectra_warning(spectra, s, false);
        if (!c.expected) {
            EXPECT_FALSE(warning.has_value()) << *warning;
            continue;
        }
        ASSERT_TRUE(warning.has_value()) << c.R << " " << c.T;
        EXPECT_NE(warning->find(c.expected), std::string::npos) << *warning;
        EXPECT_NE(warning->find("likeliest cause"), std::string::npos) << *warning;
    }
    lab::Spectra ringing;
    ringing.frequency_hz = {1e10};
    ringing.R = {1.1};
    ringing.T = {0.0};
    const lab::Scenario s = lab::parse_scenario(spectral("", 30, 80, slab), file);
    EXPECT_NE(lab::spectra_warning(ringing, s, true)->find("more steps"), std::string::npos);
}

TEST(LabRunWarnings, TheViewShowsTheSetUpsWarningAtOnceAndTheSpectrasAtTheEnd) {
    const std::string abc = "[boundary]\nleft = \"abc\"\nright = \"abc\"\n";
    lab::Experiment slow_abc(
        lab::parse_scenario(spectral("", 30, 80, abc, "courant = 0.5\n"), file));
    ASSERT_TRUE(lab::first_warning(slow_abc).has_value());
    EXPECT_NE(lab::first_warning(slow_abc)->find("abc ends"), std::string::npos);
    // Ten steps of an open line: the pulse has not reached the probes, nothing is measured.
    lab::Experiment sound(lab::parse_scenario(spectral("", 30, 80, abc + slab), file));
    EXPECT_FALSE(lab::first_warning(sound).has_value());
    while (!sound.run().finished())
        sound.step();
    EXPECT_FALSE(lab::first_warning(sound).has_value());
}

//-----------------------------------------------------------------------------
// [SECTION] Energy left in the grid at the end
//-----------------------------------------------------------------------------

// A slab of n = 3 (40 cells) between abc ends: each face reflects ((3 - 1) / (3 + 1))^2 of
// the power, so the slab rings for some ten round trips of 240 steps before 1e-6 is left.
std::string ringing_slab(int steps, const char* ends) {
    return "[grid]\ncells = 200\ncell_size = 1e-3\nsteps = " + std::to_string(steps) +
           "\n[boundary]\nleft = \"" + ends + "\"\nright = \"" + ends +
           "\"\n[source]\ncell = 50\ndelay = 40\n[[layer]]\nfirst = 100\nlast = 139\n"
           "eps_r = 9\n[[probe]]\nname = \"r\"\ncell = 80\n[[probe]]\nname = \"t\"\n"
           "cell = 170\n[spectrum]\nf_min = 1e9\nf_max = 3e10\npoints = 5\n"
           "reflected = \"r\"\ntranscribed = 0\n";
}

struct WatchedRun {
    std::optional<std::string> warning;
    double left = 0.0, peak = 0.0; // energy at the end and the largest seen, J/m^2
};

WatchedRun watched(const std::string& toml) {
    std::string text = toml;
    text.replace(text.find("transcribed = 0"), 15, "transmitted = \"t\"");
    lab::Simulation run(lab::parse_scenario(text, file));
    lab::EnergyWatch watch;
    WatchedRun out;
    while (!run.finished()) {
        run.step();
        watch.observe(run);
        out.peak = std::max(out.peak, lab::field_energy_j_per_m2(run));
    }
    out.warning = watch.warning(run);
    out.left = lab::field_energy_j_per_m2(run);
    return out;
}

TEST(LabEnergyWatch, ARunEndingWhileTheSlabRingsSaysHowManyStepsWouldDo) {
    const WatchedRun short_run = watched(ringing_slab(800, "abc"));
    ASSERT_TRUE(short_run.warning.has_value());
    const std::string& w = *short_run.warning;
    const std::size_t about = w.find("about ");
    ASSERT_NE(about, std::string::npos) << w;
    const int estimate = std::stoi(w.substr(about + 6));
    EXPECT_GT(estimate, 800) << w;
    // The estimate, run: the energy left is at the limit, give or take the ringing's beat.
    const WatchedRun long_run = watched(ringing_slab(estimate, "abc"));
    EXPECT_LT(long_run.left / long_run.peak, 3.0 * lab::energy_left_limit) << w;
    EXPECT_GT(long_run.left / long_run.peak, lab::energy_left_limit / 3.0) << w;
}

TEST(LabEnergyWatch, ClosedEndsKeepTheEnergyAndSaySo) {
    // Between pec walls nothing leaves: once the pulse is in, the energy stays (the sum of
    // E^2 and H^2 a half step apart wobbles by a little).
    const WatchedRun closed = watched(ringing_slab(600, "pec"));
    EXPECT_NEAR(closed.left / closed.peak, 1.0, 0.05);
    ASSERT_TRUE(closed.warning.has_value());
    EXPECT_NE(closed.warning->find("hardly decaying: pec and pmc ends hold it"), std::string::npos)
        << *closed.warning;
    // Open ends in vacuum at S = 1 let everything out.
    std::string vacuum = ringing_slab(600, "abc");
    vacuum.replace(vacuum.find("eps_r = 9"), 9, "eps_r = 1");
    const WatchedRun open = watched(vacuum);
    EXPECT_FALSE(open.warning.has_value()) << *open.warning;
    EXPECT_LT(open.left / open.peak, 1e-12);
}

} // namespace
