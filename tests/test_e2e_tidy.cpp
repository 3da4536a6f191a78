// End-to-end: the real fdtd1d with --help and --tidy. The tidy run is driven on a
// virtual display of its own with real key presses and clicks, and its EPS export is
// read back: the texts that name the axes and the lines are there, inside the page.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "tests/support/process.h"

namespace {

constexpr const char* xvfb_binary = "/usr/bin/Xvfb";
constexpr int page_width = 800;
constexpr int page_height = 400;

struct EpsText {
    std::string text;
    double x;
    double y;
};

// A PostScript string's escapes undone.
std::string unescaped(const std::string& s) {
    std::string text;
    for (std::size_t i = 0; i < s.size(); ++i)
        text += s[i] == '\\' && i + 1 < s.size() ? s[++i] : s[i];
    return text;
}

// GL2PS writes each string as "(text) x y size /Font S".
std::vector<EpsText> eps_texts(const std::string& path) {
    const std::regex shown(R"(^\((.*)\) ([-0-9.]+) ([-0-9.]+) \d+ /\S+ S$)");
    std::vector<EpsText> texts;
    std::ifstream in(path);
    std::smatch m;
    for (std::string line; std::getline(in, line);)
        if (std::regex_match(line, m, shown))
            texts.push_back({unescaped(m[1]), std::stod(m[2]), std::stod(m[3])});
    return texts;
}

} // namespace

TEST(Fdtd1dOptions, HelpNamesTheOptionsAndKeysAndBadOptionsFail) {
    const testsupport::ProcessResult help = testsupport::run_process({FDTD1D_BINARY, "--help"});
    EXPECT_EQ(help.exit_status, 0);
    for (const char* expected : {"--tidy", "space", "out.eps", "Escape"})
        EXPECT_NE(help.output.find(expected), std::string::npos) << expected << " in\n"
                                                                 << help.output;
    EXPECT_NE(testsupport::run_process({FDTD1D_BINARY, "--no-such-option"}).exit_status, 0);
}

TEST(Fdtd1dTidy, ExportShowsAxisLabelsLegendsAndTheReadoutInsideThePage) {
    if (access(xvfb_binary, X_OK) != 0) GTEST_SKIP() << "no Xvfb to run the program on";
    std::string pattern = std::filesystem::temp_directory_path() / "fdtd1d-tidy-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const testsupport::ProcessResult session =
        testsupport::run_process({"timeout", "-k", "5", "600", "bash", FDTD1D_TIDY_SESSION,
                                  FDTD1D_BINARY, FDTD1D_DRIVER, pattern});
    ASSERT_EQ(session.exit_status, 0) << session.output;
    EXPECT_NE(session.output.find("status=0"), std::string::npos) << session.output;

    const std::vector<EpsText> texts = eps_texts(pattern + "/out.eps");
    std::string all;
    for (const EpsText& t : texts) {
        all += t.text + "\n";
        EXPECT_TRUE(t.x >= 0 && t.x < page_width && t.y >= 0 && t.y < page_height)
            << "'" << t.text << "' at " << t.x << ", " << t.y;
    }
    for (const char* expected :
         {"cell index", "Ez (V/m)", "Hz (A/m)", "step", "Ez at cell 50", "nearest: line 1"})
        EXPECT_NE(all.find(expected), std::string::npos) << expected << " among\n" << all;
    std::filesystem::remove_all(pattern);
}
