// End-to-end: the real fdtd-lab window on a virtual X display of its own, driven by the
// sessions of tests/e2e/lab-view-session.sh (through scripts/lib/fdtd1d-driver.sh) with
// real key presses and drags, judged by what it writes: the exported picture (status
// line, polylines, marker labels), CSV tables, GIF and images.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/process.h"

namespace {

//-----------------------------------------------------------------------------
// Sessions
//-----------------------------------------------------------------------------

// A pulse from cell 100 of 200 (1 mm, S = 1) that peaks at step 30: the right-going half
// meets the right end at step 129 and, when reflected, is back near cell 148 at step 180.
constexpr const char* line_scenario = R"(
[grid]
cells = 200
cell_size = 1e-3
courant = 1.0
steps = 180
[boundary]
left = "abc"
right = "abc"
[source]
type = "soft"
cell = 100
waveform = "gaussian"
delay = 30
width = 8
[[probe]]
name = "probe"
cell = 150
)";

using Facts = std::map<std::string, std::string>;

std::vector<std::string> read_lines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class LabWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        if (access("/usr/bin/Xvfb", X_OK) != 0) GTEST_SKIP() << "no Xvfb to run the view on";
        std::string pattern = std::filesystem::temp_directory_path() / "lab-view-e2e-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        std::ofstream(path("line.toml")) << line_scenario;
    }
    void TearDown() override {
        if (dir_.empty()) return;
        if (HasFailure())
            std::printf("kept the session's files in %s\n", dir_.c_str());
        else
            std::filesystem::remove_all(dir_);
    }

    // Runs a session of tests/e2e/lab-view-session.sh on a scenario; it prints name=value
    // lines.
    Facts run_session(const std::string& session, const std::string& scenario = "line.toml") {
        const std::string scenario_path = scenario[0] == '/' ? scenario : path(scenario);
        testsupport::ProcessResult result =
            testsupport::run_process({"timeout", "-k", "5", "900", "bash", LAB_VIEW_SESSION,
                                      FDTD_LAB, FDTD_DRIVER, dir_, scenario_path, session});
        EXPECT_EQ(result.exit_status, 0) << "session output:\n" << result.output;
        Facts facts;
        std::istringstream in(result.output);
        for (std::string line; std::getline(in, line);)
            if (const auto eq = line.find('='); eq != std::string::npos)
                facts[line.substr(0, eq)] = line.substr(eq + 1);
        EXPECT_EQ(facts["status"], "0");
        return facts;
    }

    std::string path(const std::string& name) const { return dir_ + "/" + name; }
    std::string text(const std::string& name) const {
        std::ifstream in(path(name));
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::string dir_;
};

//-----------------------------------------------------------------------------
// Reading the exported EPS
//-----------------------------------------------------------------------------

struct Point {
    double x, y;
};

// The polylines ("x y LS", "x y L" ..., "x y LE") drawn in the colour "r g b C".
std::vector<std::vector<Point>> polylines(const std::string& eps, const std::string& colour) {
    std::vector<std::vector<Point>> lines;
    bool in_colour = false;
    std::istringstream in(eps);
    for (std::string line; std::getline(in, line);) {
        if (line.size() > 2 && line.compare(line.size() - 2, 2, " C") == 0)
            in_colour = line == colour + " C";
        double x = 0, y = 0;
        char op[3] = {};
        if (!in_colour || std::sscanf(line.c_str(), "%lf %lf %2s", &x, &y, op) != 3) continue;
        if (std::string(op) == "LS") lines.emplace_back();
        if (!lines.empty() &&
            (std::string(op) == "L" || std::string(op) == "LS" || std::string(op) == "LE"))
            lines.back().push_back({x, y});
    }
    return lines;
}

// The longest polyline of a colour: the plotted curve rather than a legend's sample.
std::vector<Point> longest_polyline(const std::string& eps, const std::string& colour) {
    std::vector<Point> longest;
    for (std::vector<Point>& line : polylines(eps, colour))
        if (line.size() > longest.size()) longest = std::move(line);
    return longest;
}

// Where a text was placed: "(label) x y ...".
std::optional<Point> label_position(const std::string& eps, const std::string& label) {
    const std::string prefix = "(" + label + ") ";
    const auto at = eps.find("\n" + prefix);
    Point p{};
    if (at == std::string::npos ||
        std::sscanf(eps.c_str() + at + 1 + prefix.size(), "%lf %lf", &p.x, &p.y) != 2)
        return std::nullopt;
    return p;
}

// The red Ez polyline's excursions from its level at the left end, in picture units.
struct Excursion {
    double lowest = 0, highest = 0;
};
Excursion ez_excursion(const std::string& eps) {
    std::vector<Point> ez = longest_polyline(eps, "1 0 0");
    Excursion e;
    if (ez.empty()) return e;
    const double zero =
        std::min_element(ez.begin(), ez.end(), [](Point a, Point b) { return a.x < b.x; })->y;
    for (const Point& p : ez) {
        e.lowest = std::min(e.lowest, p.y - zero);
        e.highest = std::max(e.highest, p.y - zero);
    }
    return e;
}

//-----------------------------------------------------------------------------
// Keys
//-----------------------------------------------------------------------------

TEST_F(LabWindow, StepResetAndStepsPerFrameShowInTheStatusLine) {
    run_session("step_reset_and_rate");
    EXPECT_NE(text("start.eps").find("(step 0/180 "), std::string::npos);
    EXPECT_NE(text("one.eps").find("(step 1/180 "), std::string::npos) << "n takes one step";
    EXPECT_NE(text("four.eps").find("(step 4/180 "), std::string::npos);
    EXPECT_NE(text("four.eps").find("paused: space runs"), std::string::npos);
    const Excursion stepped = ez_excursion(text("four.eps"));
    EXPECT_GT(stepped.highest, 0.0) << "four steps of the source show";
    EXPECT_NE(text("reset.eps").find("(step 0/180 "), std::string::npos);
    const Excursion reset = ez_excursion(text("reset.eps"));
    EXPECT_EQ(reset.lowest, 0.0) << "0 leaves zero fields";
    EXPECT_EQ(reset.highest, 0.0);
    EXPECT_NE(text("faster.eps").find(" 2 steps/frame"), std::string::npos);
}

TEST_F(LabWindow, EndsCycleAndTheReflectionFollows) {
    const Facts facts = run_session("boundary_cycle");
    const Excursion abc = ez_excursion(text("abc.eps"));
    const Excursion pec = ez_excursion(text("pec.eps"));
    const Excursion pmc = ez_excursion(text("pmc.eps"));
    EXPECT_NE(text("abc.eps").find("ends abc|abc"), std::string::npos);
    EXPECT_NE(text("pec.eps").find("ends abc|pec"), std::string::npos);
    EXPECT_NE(text("pmc.eps").find("ends abc|pmc"), std::string::npos);
    EXPECT_NE(text("left.eps").find("ends mur|pmc"), std::string::npos);
    // Half the field plot is about 115 units; the reflected pulse spans most of it.
    constexpr double pulse = 30.0, nothing = 0.5;
    EXPECT_LT(std::max(-abc.lowest, abc.highest), nothing) << "the pulse left through abc";
    EXPECT_LT(pec.lowest, -pulse) << "pec returns the pulse inverted";
    EXPECT_LT(pec.highest, nothing);
    EXPECT_GT(pmc.highest, pulse) << "pmc returns it upright";
    EXPECT_GT(pmc.lowest, -nothing);
}

TEST_F(LabWindow, ADraggedProbeMarkerMovesTheProbe) {
    // The source (cell 100) and probe (cell 150) labels give the plot's scale; the probe
    // is dragged to cell 120, where the pulse from the source passes at step 30 + 20.
    const Facts facts = run_session("drag_probe");
    const std::optional<Point> source = label_position(text("before.eps"), "source");
    const std::optional<Point> before = label_position(text("before.eps"), "probe");
    const std::optional<Point> after = label_position(text("after.eps"), "probe");
    ASSERT_TRUE(source && before && after);
    EXPECT_NEAR(after->x, source->x + (before->x - source->x) * 20 / 50, 1.0);

    // The probe's history peaks when the pulse passes its new cell.
    std::vector<std::string> rows = read_lines(path("probes.csv"));
    ASSERT_EQ(rows.size(), 181u);
    int peak_step = -1;
    double peak = 0.0;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        int step = 0;
        double t = 0, ez = 0;
        ASSERT_EQ(std::sscanf(rows[i].c_str(), "%d,%lf,%lf", &step, &t, &ez), 3) << rows[i];
        if (std::fabs(ez) > peak) peak = std::fabs(ez), peak_step = step;
    }
    EXPECT_NEAR(peak_step, 50, 2);
}

//-----------------------------------------------------------------------------
// Files: GIF, pictures
//-----------------------------------------------------------------------------

int gif_frames(const std::string& gif) {
    testsupport::ProcessResult r = testsupport::run_process({"identify", gif});
    const std::string& out = r.output;
    return r.exit_status == 0 ? static_cast<int>(std::count(out.begin(), out.end(), '\n')) : -1;
}

TEST_F(LabWindow, TwoPressesOfGRecordAFramePerStep) {
    const Facts facts = run_session("gif_recording");
    EXPECT_NE(text("stdout.log").find("out.gif: 4 frames, steps 1 to 4"), std::string::npos);
    EXPECT_EQ(gif_frames(path("stepped.gif")), 4);
    const int frames = std::atoi(facts.at("frames").c_str());
    EXPECT_GT(frames, 1);
    EXPECT_EQ(frames,
              std::atoi(facts.at("last").c_str()) - std::atoi(facts.at("first").c_str()) + 1)
        << "at one step per frame every step is a frame";
    EXPECT_EQ(gif_frames(path("out.gif")), frames);
}

// Another process holds the session's folder: c and g do nothing and say so, and the view
// goes on; c writes the tables once the folder is free.
TEST_F(LabWindow, CAndGWaitForAFolderAnotherHolds) {
    const Facts facts = run_session("keys_in_a_held_folder");
    const std::string log = text("stdout.log");
    for (const char* refusal : {"no tables written: another fdtd-lab run is writing into ",
                                "not recording: another fdtd-lab run is writing into "})
        EXPECT_NE(log.find(refusal + dir_), std::string::npos) << refusal << "\n" << log;
    EXPECT_NE(text("refused.eps").find("no tables written: another fdtd-lab run"),
              std::string::npos)
        << "the status line says it";
    EXPECT_EQ(facts.at("tables_while_held"), "0");
    EXPECT_EQ(facts.at("gif_while_held"), "0");
    EXPECT_NE(log.find("wrote " + dir_ + "/fields.csv"), std::string::npos) << log;
    EXPECT_EQ(facts.at("status"), "0");
}

TEST_F(LabWindow, EWritesPdfSvgAndPng) {
    run_session("export_formats");
    EXPECT_EQ(text("out.pdf").rfind("%PDF", 0), 0u);
    EXPECT_NE(text("out.svg").find("<svg"), std::string::npos);
    const std::string png = text("out.png");
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    const auto be32 = [&](std::size_t at) {
        return (static_cast<unsigned char>(png[at]) << 24) |
               (static_cast<unsigned char>(png[at + 1]) << 16) |
               (static_cast<unsigned char>(png[at + 2]) << 8) |
               static_cast<unsigned char>(png[at + 3]);
    };
    EXPECT_EQ(be32(16), 1000u);
    EXPECT_EQ(be32(20), 720u);
    EXPECT_NE(text("stdout.log").find(dir_ + "/out.pdf"), std::string::npos) << "says where";
}

// Frame delays of a GIF in hundredths of a second, as identify reads them.
std::string gif_delays(const std::string& gif) {
    return testsupport::run_process({"identify", "-format", "%T ", gif}).output;
}

TEST_F(LabWindow, LabMovieRecordsAFrameEveryKStepsWithoutADisplay) {
    const auto movie = [&](const std::string& scenario, const std::string& gif,
                           const std::vector<std::string>& options) {
        std::vector<std::string> command{"env",     "-u",  "DISPLAY", "FDTD_LAB_BINARY=" FDTD_LAB,
                                         "timeout", "300", LAB_MOVIE, scenario,
                                         gif};
        command.insert(command.end(), options.begin(), options.end());
        return testsupport::run_process(command);
    };
    // The pulse has left both abc ends by step 150: frames at 0, 30, ..., 150, not up to 180.
    const testsupport::ProcessResult made =
        movie(path("line.toml"), path("line.gif"), {"--every", "30"});
    EXPECT_EQ(made.exit_status, 0) << made.output;
    EXPECT_EQ(gif_frames(path("line.gif")), 6);
    EXPECT_NE(made.output.find("6 frames, steps 0 to 150, one every 30 steps"), std::string::npos)
        << made.output;

    const testsupport::ProcessResult span =
        movie(path("line.toml"), path("span.gif"),
              {"--from", "60", "--to", "120", "--every", "30", "--fps", "10", "--no-status"});
    EXPECT_EQ(span.exit_status, 0) << span.output;
    EXPECT_NE(span.output.find("3 frames, steps 60 to 120"), std::string::npos) << span.output;
    EXPECT_EQ(gif_delays(path("span.gif")), "10 10 10 ");

    std::ofstream(path("bad.toml")) << "[grid]\ncells = -3\n";
    EXPECT_EQ(movie(path("bad.toml"), path("bad.gif"), {}).exit_status, 2);
    EXPECT_FALSE(std::filesystem::exists(path("bad.gif")));
    EXPECT_EQ(movie(path("line.toml"), path("late.gif"), {"--from", "180"}).exit_status, 2);
    EXPECT_FALSE(std::filesystem::exists(path("late.gif")));
}

//-----------------------------------------------------------------------------
// Recordings that end early: a window destroyed from outside, a signal, a file that
// cannot grow, a reset
//-----------------------------------------------------------------------------

// A window destroyed from outside ends the program as a window manager's close does: the
// GIF finished, exit 0. A signal keeps nothing: no GIF, no temporary, exit 128 + N.
TEST_F(LabWindow, ARecordingEndsCleanlyWhenItsWindowIsDestroyedOrItIsSignalled) {
    struct Case {
        const char* session;
        const char* gif;
        const char* status;
    };
    setenv("FDTD_LAB_REPORT_REDRAWS", "1", 1);
    for (const Case& c :
         {Case{"destroyed_while_recording", "yes", "0"}, Case{"record_destroyed", "yes", "0"},
          Case{"record_terminated", "no", "143"}}) {
        std::filesystem::remove(path("out.gif"));
        const testsupport::ProcessResult result =
            testsupport::run_process({"timeout", "-k", "5", "600", "bash", LAB_VIEW_SESSION,
                                      FDTD_LAB, FDTD_DRIVER, dir_, path("line.toml"), c.session});
        EXPECT_NE(result.output.find(std::string("gif=") + c.gif), std::string::npos)
            << c.session << ":\n"
            << result.output;
        EXPECT_NE(result.output.find("temporaries=0"), std::string::npos) << c.session;
        EXPECT_NE(result.output.find(std::string("status=") + c.status), std::string::npos)
            << c.session << ":\n"
            << result.output;
    }
    unsetenv("FDTD_LAB_REPORT_REDRAWS");
}

TEST_F(LabWindow, TheRecordingSaysWhatItTookAndWhyItFailed) {
    const Facts reset = run_session("reset_while_recording");
    EXPECT_NE(reset.at("summary").find("9 frames, steps 1 to 6, then 0 to 2 after a reset"),
              std::string::npos)
        << reset.at("summary");
    // About three frames fit: the fourth write fails as on a full disk.
    const testsupport::ProcessResult full = testsupport::run_process(
        {"timeout", "-k", "5", "600", "bash", "-c", "ulimit -f 64; exec bash \"$0\" \"$@\"",
         LAB_VIEW_SESSION, FDTD_LAB, FDTD_DRIVER, dir_, path("line.toml"), "recording_fails"});
    EXPECT_NE(full.output.find("recording stopped, no GIF written: cannot write"),
              std::string::npos)
        << full.output;
    EXPECT_NE(full.output.find("out.gif: File too large"), std::string::npos) << full.output;
}

//-----------------------------------------------------------------------------
// Redraws while paused
//-----------------------------------------------------------------------------

TEST_F(LabWindow, PausedWindowNeitherRedrawsNorSpendsCpu) {
    setenv("FDTD_LAB_REPORT_REDRAWS", "1", 1); // the view prints "redraw N" after each
    const Facts facts = run_session("paused_cpu");
    unsetenv("FDTD_LAB_REPORT_REDRAWS");
    const auto number = [&](const char* name) { return std::atof(facts.at(name).c_str()); };
    EXPECT_GT(number("redraws_before"), 0) << "the hook counts redraws";
    EXPECT_EQ(facts.at("redraws_before"), facts.at("redraws_after"));
    // Near zero: a busy loop would take the whole 2 s; this leaves room for a loaded machine.
    constexpr double cpu_bound_s = 0.2;
    EXPECT_LT((number("cpu_after") - number("cpu_before")) / number("ticks_per_second"),
              cpu_bound_s);
}

//-----------------------------------------------------------------------------
// The slab's spectra against theory, from the exported picture
//-----------------------------------------------------------------------------

// A curve's points in plot units, with the values they stand for once the scale is known.
struct Curves {
    std::vector<Point> r, t, r_theory, t_theory;
};

// Value 0 and the size of 1 in picture units, from the theory alone: R + T = 1 at every
// frequency of a lossless slab, and R = 0 at its Fabry-Perot nulls.
struct Scale {
    double zero, unit;
};
Scale theory_scale(const Curves& c) {
    double zero = c.r_theory[0].y;
    for (const Point& p : c.r_theory)
        zero = std::min(zero, p.y);
    return {zero, c.r_theory[0].y + c.t_theory[0].y - 2 * zero};
}

bool same_x(Point a, Point b) { return std::fabs(a.x - b.x) < 1e-3; }

// Of the polylines of a colour, the one drawn at the theory's frequencies: the measured
// curve, which skips only frequencies the pulse did not carry.
std::vector<Point> measured_curve(const std::string& eps, const std::string& colour,
                                  const std::vector<Point>& theory) {
    std::vector<Point> best;
    std::size_t best_matches = 0;
    for (std::vector<Point>& line : polylines(eps, colour)) {
        const auto matches =
            static_cast<std::size_t>(std::count_if(line.begin(), line.end(), [&](Point p) {
                return std::any_of(theory.begin(), theory.end(),
                                   [&](Point t) { return same_x(p, t); });
            }));
        if (matches > best_matches) best_matches = matches, best = std::move(line);
    }
    return best;
}

// Largest |measured - theory| up to x_top, in units of the scale, matching points by x.
double largest_gap(const std::vector<Point>& measured, const std::vector<Point>& theory,
                   const Scale& scale, double x_top) {
    double gap = 0.0;
    int matched = 0;
    for (const Point& m : measured) {
        const auto same =
            std::find_if(theory.begin(), theory.end(), [&](Point t) { return same_x(t, m); });
        if (same == theory.end() || m.x > x_top) continue;
        gap = std::max(gap, std::fabs(m.y - same->y) / scale.unit);
        ++matched;
    }
    return matched > 10 ? gap : 1e9;
}

TEST_F(LabWindow, SlabSpectraFollowTheTheoryInTheExportedPicture) {
    run_session("slab_spectra", LAB_SCENARIOS "/slab.toml");
    const std::string eps = text("slab.eps");
    Curves c;
    c.r_theory = longest_polyline(eps, "0.6 0 0");
    c.t_theory = longest_polyline(eps, "0 0 0.6");
    c.r = measured_curve(eps, "1 0 0", c.r_theory);
    c.t = measured_curve(eps, "0 0 1", c.t_theory);
    ASSERT_EQ(c.r_theory.size(), 200u);
    ASSERT_EQ(c.t_theory.size(), 200u);
    const Scale scale = theory_scale(c);
    ASSERT_GT(scale.unit, 50.0);
    // The grid runs 1..75 GHz over the theory's x; eps_r 4 in cells of 0.1 mm has 40 cells
    // per wavelength up to 37.5 GHz and 80 up to 18.7 GHz.
    const double x_min = c.r_theory.front().x, x_max = c.r_theory.back().x;
    const auto x_at = [&](double ghz) { return x_min + (ghz - 1.0) / 74.0 * (x_max - x_min); };
    for (const auto& [measured, theory] :
         {std::pair{c.r, c.r_theory}, std::pair{c.t, c.t_theory}}) {
        EXPECT_LT(largest_gap(measured, theory, scale, x_at(37.4)), 0.01);
        EXPECT_LT(largest_gap(measured, theory, scale, x_at(18.7)), 0.002);
    }
}

} // namespace
