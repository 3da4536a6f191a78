// End-to-end: the real fdtd1d on a virtual X display of its own, driven by the sessions of
// tests/e2e/fdtd1d-session.sh (through scripts/lib/fdtd1d-driver.sh) with real key presses
// and clicks. A display of its own, because without a window manager every window the
// other tests open lands on top and would take the clicks and hide the window from
// screenshots.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
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
// What the program shows
//-----------------------------------------------------------------------------

constexpr int steps_per_run = 1001;
constexpr int window_width = 800;
constexpr int window_height = 400;
constexpr int plot_rows = 3;
// Where each of the stacked plots sits, as fractions of its row and of the window width.
constexpr double plot_left = 0.13;
constexpr double plot_width = 0.775;
constexpr double plot_bottom_in_row = 0.11;
constexpr double plot_height_in_row = 0.815;
constexpr double top_plot_x_max = 200.0; // one more than the last cell number
constexpr double top_plot_y_min = -2.0;
constexpr double top_plot_y_max = 2.0;
constexpr double history_y_min = -1.0;
constexpr double history_y_max = 1.0;
// The history at cell 50 peaks when the pulse first passes and dips when it comes back.
constexpr int history_peak_step = 80;
constexpr int history_dip_step = 479;

enum Row { bottom_row = 0, middle_row = 1, top_row = 2 };

struct Band {
    double low;
    double high;
    bool contains(double v, double slack) const { return v >= low - slack && v <= high + slack; }
};

// A row's plot rectangle vertically, in window pixels counted upwards from the bottom.
Band plot_band_from_bottom(Row row) {
    double low = window_height * (row + plot_bottom_in_row) / plot_rows;
    return {low, low + window_height * plot_height_in_row / plot_rows};
}

Band plot_band_from_top(Row row) {
    Band b = plot_band_from_bottom(row);
    return {window_height - b.high, window_height - b.low};
}

//-----------------------------------------------------------------------------
// Scripted sessions
//-----------------------------------------------------------------------------

// Bounds every session as a whole; a sanitizer build takes several times longer.
constexpr const char* session_time_limit_seconds = "900";
const std::string window_wait_seconds = "60";
const std::string run_wait_seconds = "300";
const std::string export_wait_seconds = "60";

// The waits and the run's length, as tests/e2e/fdtd1d-session.sh reads them.
std::vector<std::string> session_settings() {
    return {"window_wait=" + window_wait_seconds, "run_wait=" + run_wait_seconds,
            "export_wait=" + export_wait_seconds, "steps_per_run=" + std::to_string(steps_per_run)};
}

using Facts = std::map<std::string, std::string>;

Facts parse_facts(const std::string& output) {
    Facts facts;
    std::istringstream in(output);
    std::string line;
    while (std::getline(in, line)) {
        auto eq = line.find('=');
        if (eq != std::string::npos) facts[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return facts;
}

std::vector<std::string> read_lines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// "Time for 1 step 12.345678 microsec": the time as printf's %lf writes it.
bool is_step_line(const std::string& line) {
    const std::string prefix = "Time for 1 step ";
    const std::string suffix = " microsec";
    constexpr size_t fraction_digits = 6;
    if (line.size() <= prefix.size() + suffix.size() || line.rfind(prefix, 0) != 0 ||
        line.compare(line.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    const std::string number =
        line.substr(prefix.size(), line.size() - prefix.size() - suffix.size());
    const size_t point = number.find('.');
    if (point == 0 || point == std::string::npos || number.size() - point - 1 != fraction_digits)
        return false;
    for (size_t i = 0; i < number.size(); ++i)
        if (i != point && !std::isdigit(static_cast<unsigned char>(number[i]))) return false;
    return true;
}

constexpr const char* xvfb_binary = "/usr/bin/Xvfb";

class Fdtd1dSession : public ::testing::Test {
  protected:
    void SetUp() override {
        if (access(xvfb_binary, X_OK) != 0) GTEST_SKIP() << "no Xvfb to run the program on";
        std::string pattern = (std::filesystem::temp_directory_path() / "fdtd1d-e2e-XXXXXX");
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }

    void TearDown() override {
        if (dir_.empty()) return;
        if (HasFailure())
            std::printf("kept the session's files in %s\n", dir_.c_str());
        else
            std::filesystem::remove_all(dir_);
    }

    // Runs one session of tests/e2e/fdtd1d-session.sh; it prints its findings as name=value
    // lines.
    Facts run_session(const std::string& session, const std::vector<std::string>& args = {},
                      const std::string& app = FDTD1D_BINARY) {
        std::vector<std::string> command = {"timeout", "-k", "5", session_time_limit_seconds,
                                            "env"};
        const std::vector<std::string> settings = session_settings();
        command.insert(command.end(), settings.begin(), settings.end());
        command.insert(command.end(),
                       {"bash", FDTD1D_E2E_SESSION, app, FDTD1D_DRIVER, dir_, session});
        command.insert(command.end(), args.begin(), args.end());
        testsupport::ProcessResult result = testsupport::run_process(command);
        EXPECT_EQ(result.exit_status, 0) << "session output:\n" << result.output;
        return parse_facts(result.output);
    }

    std::string path(const std::string& name) const { return dir_ + "/" + name; }

    std::vector<std::string> program_output() const { return read_lines(path("stdout.log")); }

    int step_lines() const {
        auto lines = program_output();
        return static_cast<int>(std::count_if(lines.begin(), lines.end(), is_step_line));
    }

    std::string dir_;
};

//-----------------------------------------------------------------------------
// Reading the exported EPS and the screenshot
//-----------------------------------------------------------------------------

struct ColouredPoint {
    double r, g, b;
    double x, y;
};

bool is_red(double r, double g, double b) { return r > 0.9 && g < 0.1 && b < 0.1; }
bool is_blue(double r, double g, double b) { return r < 0.1 && g < 0.1 && b > 0.9; }

bool is_number(const std::string& token) {
    char* end = nullptr;
    std::strtod(token.c_str(), &end);
    return !token.empty() && end == token.c_str() + token.size();
}

// The vertices of every polyline ("x y LS", "x y L", "x y LE") with the colour set before
// it ("r g b C").
std::vector<ColouredPoint> eps_polyline_points(const std::string& eps_path) {
    std::vector<ColouredPoint> points;
    double r = 0, g = 0, b = 0;
    for (const std::string& line : read_lines(eps_path)) {
        std::istringstream in(line);
        std::vector<std::string> tokens;
        for (std::string t; in >> t;)
            tokens.push_back(t);
        if (tokens.size() < 3) continue;
        const std::string& op = tokens.back();
        bool numbers = std::all_of(tokens.begin(), tokens.end() - 1, is_number);
        if (!numbers) continue;
        if (op == "C" && tokens.size() == 4) {
            r = std::stod(tokens[0]);
            g = std::stod(tokens[1]);
            b = std::stod(tokens[2]);
        } else if ((op == "LS" || op == "L" || op == "LE") && tokens.size() % 2 == 1) {
            for (size_t i = 0; i + 1 < tokens.size(); i += 2)
                points.push_back({r, g, b, std::stod(tokens[i]), std::stod(tokens[i + 1])});
        }
    }
    return points;
}

struct Image {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
};

// A binary PPM (P6) as ImageMagick writes it: comments in the header, 8 or 16 bits a sample.
Image read_ppm(const std::string& path) {
    Image image;
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    in >> magic;
    if (magic != "P6") return image;
    int values[3];
    for (int& v : values) {
        in >> std::ws;
        while (in.peek() == '#') {
            std::string comment;
            std::getline(in, comment);
            in >> std::ws;
        }
        in >> v;
    }
    in.get();
    const auto [width, height, max_value] = values;
    if (width <= 0 || height <= 0 || max_value <= 0 || max_value > 65535) return image;
    const size_t sample_bytes = max_value > 255 ? 2 : 1;
    const size_t samples = static_cast<size_t>(width) * height * 3;
    std::vector<unsigned char> raw(samples * sample_bytes);
    in.read(reinterpret_cast<char*>(raw.data()), static_cast<std::streamsize>(raw.size()));
    if (!in) return image;
    image.width = width;
    image.height = height;
    image.rgb.resize(samples);
    for (size_t i = 0; i < samples; ++i) {
        // The most significant byte comes first; it alone is enough to tell colours apart.
        unsigned value = raw[i * sample_bytes];
        if (sample_bytes == 1)
            value = value * 255 / max_value;
        else
            value = (value * 256 + raw[i * sample_bytes + 1]) * 255 / max_value;
        image.rgb[i] = static_cast<unsigned char>(value);
    }
    return image;
}

struct PixelCounts {
    int inside = 0;
    int outside = 0;
};

// Counts pixels of one colour family inside and outside a band of rows.
template <typename IsColour>
PixelCounts count_pixels(const Image& image, Band rows, IsColour is_colour) {
    constexpr double slack_pixels = 2.0;
    PixelCounts counts;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const unsigned char* p = &image.rgb[(static_cast<size_t>(y) * image.width + x) * 3];
            if (!is_colour(p[0] / 255.0, p[1] / 255.0, p[2] / 255.0)) continue;
            if (rows.contains(y, slack_pixels))
                ++counts.inside;
            else
                ++counts.outside;
        }
    }
    return counts;
}

//-----------------------------------------------------------------------------
// Keys
//-----------------------------------------------------------------------------

TEST_F(Fdtd1dSession, RunsOnlyWhenStartedPausesAndStopsAfterItsLastStep) {
    Facts facts = run_session("pause_and_end");

    EXPECT_EQ(facts["while_paused"], "0");
    EXPECT_EQ(facts["paused_at"], facts["still_paused_at"]) << "'r' did not pause the run";
    EXPECT_LT(std::atoi(facts["paused_at"].c_str()), steps_per_run);
    EXPECT_EQ(facts["running_after_end"], "yes");
    EXPECT_EQ(facts["status"], "0");

    std::vector<std::string> lines = program_output();
    EXPECT_EQ(static_cast<int>(lines.size()), steps_per_run)
        << "space after the end must not start more steps";
    for (const std::string& line : lines)
        ASSERT_TRUE(is_step_line(line)) << "unexpected output: " << line;
}

class ExitKey : public Fdtd1dSession, public ::testing::WithParamInterface<const char*> {};

TEST_P(ExitKey, EndsTheProgramWithStatusZero) {
    Facts facts = run_session("exit_key", {GetParam()});
    EXPECT_EQ(facts["status"], "0");
    EXPECT_EQ(step_lines(), 0);
}

INSTANTIATE_TEST_SUITE_P(Keys, ExitKey, ::testing::Values("q", "x", "Escape"));

// With standard output closed by its caller, the descriptor must not go to the X
// connection, where the step times would corrupt the protocol stream.
TEST_F(Fdtd1dSession, RunsExportsAndQuitsWithStandardOutputClosed) {
    const std::string wrapper = path("closed-stdout.sh");
    std::ofstream(wrapper) << "#!/bin/sh\nexec \"" << FDTD1D_BINARY << "\" >&-\n";
    std::filesystem::permissions(wrapper, std::filesystem::perms::owner_all);
    Facts facts = run_session("export_without_output", {}, wrapper);
    EXPECT_EQ(facts["exported"], "yes");
    EXPECT_EQ(facts["status"], "0");
}

//-----------------------------------------------------------------------------
// Mouse
//-----------------------------------------------------------------------------

TEST_F(Fdtd1dSession, ClickOnTheLayerListKeepsTheRunGoing) {
    Facts facts = run_session("click_layer_list");

    EXPECT_EQ(facts["running_after_end"], "yes");
    EXPECT_EQ(facts["status"], "0");
    EXPECT_EQ(step_lines(), steps_per_run);
}

struct ReadOut {
    double x, y;           // the data coordinates shown
    double left, baseline; // where the text starts, in EPS coordinates
};

std::vector<ReadOut> eps_read_outs(const std::string& eps_path) {
    std::vector<ReadOut> found;
    for (const std::string& line : read_lines(eps_path)) {
        ReadOut r{};
        // The read-out's own parentheses are escaped in the PostScript string.
        if (std::sscanf(line.c_str(), "(Mouse:\\(%lf,%lf\\)) %lf %lf", &r.x, &r.y, &r.left,
                        &r.baseline) == 4)
            found.push_back(r);
    }
    return found;
}

// The data coordinates under window pixel (x, y) in the plot of a row with the given limits.
ReadOut expected_read_out(Row row, int x, int y, double x_max, double y_min, double y_max) {
    constexpr double text_gap = 0.01 * window_height; // the read-out sits above the frame
    Band band = plot_band_from_bottom(row);
    double along_x = (static_cast<double>(x) / window_width - plot_left) / plot_width;
    double along_y = (window_height - y - band.low) / (band.high - band.low);
    return {x_max * along_x, y_min + (y_max - y_min) * along_y, plot_left * window_width,
            band.high + text_gap};
}

void expect_read_out(const ReadOut& actual, const ReadOut& expected) {
    constexpr double value_tolerance = 1e-3;
    constexpr double position_slack = 2.0;
    EXPECT_NEAR(actual.x, expected.x, value_tolerance);
    EXPECT_NEAR(actual.y, expected.y, value_tolerance);
    EXPECT_NEAR(actual.left, expected.left, position_slack);
    EXPECT_NEAR(actual.baseline, expected.baseline, position_slack);
}

TEST_F(Fdtd1dSession, ClicksSelectAPlotAndReadOffItsData) {
    // The top plot while paused; then the history plot, once it holds its 1001 points.
    constexpr int top_x = 400, top_y = 64;
    constexpr int history_x = 600, history_y = 330;
    Facts facts =
        run_session("select_and_read_off", {std::to_string(top_x), std::to_string(top_y),
                                            std::to_string(history_x), std::to_string(history_y)});
    EXPECT_EQ(facts["status"], "0");

    ReadOut top_expected =
        expected_read_out(top_row, top_x, top_y, top_plot_x_max, top_plot_y_min, top_plot_y_max);
    std::vector<ReadOut> selected = eps_read_outs(path("selected.eps"));
    ASSERT_EQ(selected.size(), 1u) << "one click must select the top plot and no drawn other";
    expect_read_out(selected[0], {0.0, 0.0, top_expected.left, top_expected.baseline});

    std::vector<ReadOut> top = eps_read_outs(path("top.eps"));
    ASSERT_EQ(top.size(), 1u);
    expect_read_out(top[0], top_expected);

    ReadOut history = expected_read_out(bottom_row, history_x, history_y, steps_per_run,
                                        history_y_min, history_y_max);
    std::vector<ReadOut> after_run = eps_read_outs(path("out.eps"));
    auto in_history = std::find_if(after_run.begin(), after_run.end(), [&](const ReadOut& r) {
        return std::abs(r.baseline - history.baseline) < 2.0;
    });
    ASSERT_NE(in_history, after_run.end()) << "no read-out above the history plot";
    expect_read_out(*in_history, history);
}

//-----------------------------------------------------------------------------
// The picture after a full run: export and screenshot
//-----------------------------------------------------------------------------

TEST_F(Fdtd1dSession, PictureAfterTheRunShowsTheFieldsWhereTheyBelong) {
    Facts facts = run_session("picture_after_run");
    EXPECT_EQ(facts["status"], "0");

    std::vector<std::string> eps = read_lines(path("out.eps"));
    ASSERT_FALSE(eps.empty());
    EXPECT_NE(std::find(eps.begin(), eps.end(), "%%BoundingBox: 0 0 800 400"), eps.end());

    constexpr double slack = 1.5;
    std::vector<ColouredPoint> points = eps_polyline_points(path("out.eps"));
    std::vector<ColouredPoint> red, blue, history;
    for (const ColouredPoint& p : points) {
        if (is_red(p.r, p.g, p.b)) red.push_back(p);
        if (is_blue(p.r, p.g, p.b)) blue.push_back(p);
        if (is_blue(p.r, p.g, p.b) && plot_band_from_bottom(bottom_row).contains(p.y, slack))
            history.push_back(p);
    }
    EXPECT_GE(red.size(), 200u);
    for (const ColouredPoint& p : red)
        ASSERT_TRUE(plot_band_from_bottom(top_row).contains(p.y, slack)) << p.x << " " << p.y;
    for (const ColouredPoint& p : blue)
        ASSERT_TRUE(plot_band_from_bottom(middle_row).contains(p.y, slack) ||
                    plot_band_from_bottom(bottom_row).contains(p.y, slack))
            << p.x << " " << p.y;

    ASSERT_GE(static_cast<int>(history.size()), steps_per_run);
    auto by_y = [](const ColouredPoint& a, const ColouredPoint& b) { return a.y < b.y; };
    auto step_at = [](double x) {
        double left = plot_left * window_width;
        return (x - left) / (plot_width * window_width) * steps_per_run;
    };
    EXPECT_NEAR(step_at(std::max_element(history.begin(), history.end(), by_y)->x),
                history_peak_step, 1.0);
    EXPECT_NEAR(step_at(std::min_element(history.begin(), history.end(), by_y)->x),
                history_dip_step, 1.0);

    Image shot = read_ppm(path("shot.ppm"));
    ASSERT_GT(shot.width, 0) << "screenshot unreadable";
    constexpr int min_line_pixels = 100;
    PixelCounts red_pixels = count_pixels(shot, plot_band_from_top(top_row), is_red);
    EXPECT_GE(red_pixels.inside, min_line_pixels);
    EXPECT_EQ(red_pixels.outside, 0);
    EXPECT_GE(count_pixels(shot, plot_band_from_top(middle_row), is_blue).inside, min_line_pixels);
    EXPECT_GE(count_pixels(shot, plot_band_from_top(bottom_row), is_blue).inside, min_line_pixels);
}

} // namespace
