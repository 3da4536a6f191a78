// fdtd-lab run driven as a user would: good runs write the tables, bad input is refused with
// its position and leaves no files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/process.h"
#include "tests/support/scratch_directory.h"

namespace {

namespace fs = std::filesystem;

const fs::path scenarios = LAB_SCENARIOS;

testsupport::ProcessResult fdtd_lab(const std::string& arguments) {
    return testsupport::run_process(
        {"sh", "-c", std::string(FDTD_LAB) + " " + arguments + " 2>&1"});
}

std::string read_file(const fs::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST(LabRun, WritesTheTablesOfAScenario) {
    testsupport::ScratchDirectory scratch("lab-run");
    const testsupport::ProcessResult run =
        fdtd_lab("run " + (scenarios / "fdtd1d.toml").string() + " --out tables");
    ASSERT_EQ(run.exit_status, 0) << run.output;
    EXPECT_NE(run.output.find("wrote tables/probes.csv: 1001 steps of 1 probe\n"),
              std::string::npos)
        << run.output;
    const std::vector<std::string> fields = lines_of(read_file("tables/fields.csv"));
    ASSERT_EQ(fields.size(), 201u);
    EXPECT_EQ(fields[0], "cell,x_m,Ez,Hy");
    const std::vector<std::string> probes = lines_of(read_file("tables/probes.csv"));
    ASSERT_EQ(probes.size(), 1002u);
    EXPECT_EQ(probes[0], "step,time_s,x50_Ez,x50_Hy");
    // After step 80 the pulse's peak is at cell 50: Ez = 1 at t = 81 dt.
    EXPECT_EQ(probes[81].rfind("80,2.70186917", 0), 0u) << probes[81];
    EXPECT_NEAR(std::stod(probes[81].substr(probes[81].find(',', 3) + 1)), 1.0, 1e-12);
    EXPECT_FALSE(fs::exists("tables/spectra.csv"));
    EXPECT_EQ(run.output.find("fdtd-lab: step"), std::string::npos) << "progress on a pipe";
}

TEST(LabRun, ShowsProgressOnATerminal) {
    testsupport::ScratchDirectory scratch("lab-progress");
    // script(1) gives the program a terminal for its output.
    const testsupport::ProcessResult run = testsupport::run_process(
        {"script", "-qec",
         std::string(FDTD_LAB) + " run " + (scenarios / "fdtd1d.toml").string() + " --out t",
         "/dev/null"});
    EXPECT_EQ(run.exit_status, 0);
    EXPECT_NE(run.output.find("\rfdtd-lab: step 1001 of 1001 (100%)"), std::string::npos)
        << run.output;
}

TEST(LabRun, SpectraAndAnUnstableRun) {
    testsupport::ScratchDirectory scratch("lab-spectra");
    ASSERT_EQ(fdtd_lab("run " + (scenarios / "lossy_slab.toml").string() + " --out s").exit_status,
              0);
    const std::vector<std::string> spectra = lines_of(read_file("s/spectra.csv"));
    ASSERT_EQ(spectra.size(), 151u);
    EXPECT_EQ(spectra[0], "frequency_hz,R,T,R_theory,T_theory,phase_r_rad,phase_t_rad,"
                          "phase_r_theory_rad,phase_t_theory_rad");
    EXPECT_EQ(std::count(spectra[75].begin(), spectra[75].end(), ','), 8);

    // Into the same folder: the spectra.csv there is now an earlier run's, and said to be.
    const testsupport::ProcessResult run =
        fdtd_lab("run " + (scenarios / "instability.toml").string() + " --out s");
    EXPECT_EQ(run.exit_status, 3);
    EXPECT_NE(run.output.find("unstable"), std::string::npos) << run.output;
    // Steps counted one way: the step the fields grew in is the last one the files hold.
    EXPECT_NE(run.output.find("in step 389 "), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("after step 389 "), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("s/spectra.csv is from an earlier run"), std::string::npos);
    const std::string probes = read_file("s/probes.csv");
    for (const char* bad : {"nan", "inf"})
        EXPECT_EQ(probes.find(bad), std::string::npos) << bad;
}

TEST(LabRun, AThickConductorHasTheoryAtEveryFrequency) {
    testsupport::ScratchDirectory scratch("lab-conductor");
    // 40 mm of sigma = 1e5 S/m: thousands of skin depths, which the theory once overflowed on
    // and the summary then called a largest difference of 0.0000.
    std::ofstream("conductor.toml")
        << "[grid]\ncells = 200\ncell_size = 1e-3\nsteps = 600\n"
           "[boundary]\nleft = \"abc\"\nright = \"abc\"\n"
           "[source]\ncell = 20\ndelay = 60\n"
           "[[layer]]\nfirst = 60\nlast = 99\nsigma = 1e5\n"
           "[[probe]]\nname = \"r\"\ncell = 40\n[[probe]]\nname = \"t\"\ncell = 120\n"
           "[spectrum]\nf_min = 1e9\nf_max = 7e9\npoints = 20\n"
           "reflected = \"r\"\ntransmitted = \"t\"\n";
    const testsupport::ProcessResult run = fdtd_lab("run conductor.toml --out c");
    EXPECT_EQ(run.exit_status, 0) << run.output;
    EXPECT_NE(run.output.find("largest |R - R_theory| 0.00"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("theory empty"), std::string::npos) << run.output;
    for (const std::string& row : lines_of(read_file("c/spectra.csv")))
        EXPECT_EQ(row.find(",,"), std::string::npos) << row;
}

// Runs fdtd-lab with standard output and standard error apart.
struct SplitRun {
    int exit_status;
    std::string out, err;
};

SplitRun fdtd_lab_split(const std::string& arguments) {
    const std::string lab = std::string(FDTD_LAB) + " " + arguments;
    const testsupport::ProcessResult out =
        testsupport::run_process({"sh", "-c", lab + " 2>/dev/null"});
    const testsupport::ProcessResult err =
        testsupport::run_process({"sh", "-c", lab + " 2>&1 >/dev/null"});
    return {out.exit_status, out.output, err.output};
}

TEST(LabRun, WarningsGoToStandardErrorAndTheRunStillWritesItsTables) {
    testsupport::ScratchDirectory scratch("lab-warnings");
    std::string slab = read_file(scenarios / "slab.toml");
    // abc ends at S = 0.5 reflect a third of a slow wave: the slab's R and T carry it.
    slab.replace(slab.find("courant = 1.0"), 13, "courant = 0.5");
    slab.replace(slab.find("steps = 6000"), 12, "steps = 12000");
    std::ofstream("half.toml") << slab;
    const SplitRun run = fdtd_lab_split("run half.toml --out o");
    EXPECT_EQ(run.exit_status, 0);
    EXPECT_NE(run.err.find("fdtd-lab: warning: abc ends are exact only at courant = 1; at S = "
                           "0.5 they reflect |r| = (1 - S) / (1 + S) = 0.33"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("use mur or pml"), std::string::npos) << run.err;
    EXPECT_EQ(run.out.find("warning"), std::string::npos) << run.out;
    EXPECT_TRUE(fs::exists("o/spectra.csv"));
}

struct BadInput {
    const char* toml;
    const char* message; // expected after "bad.toml:"
};

TEST(LabRun, RefusesBadInputWithItsPositionAndWritesNothing) {
    testsupport::ScratchDirectory scratch("lab-bad");
    std::string slab_with_source_at_330 = read_file(scenarios / "slab.toml");
    slab_with_source_at_330.replace(slab_with_source_at_330.find("cell = 100"), 10, "cell = 330");
    // One the reader refuses and one the checks refuse; test_lab_scenario has the others.
    const BadInput cases[] = {
        {"[grid]\ncells = 100\nsize = 1\n", "3:1: unknown key 'size' in [grid]; allowed: cells"},
        {"[grid]\ncells = 100\ncell_size = 1e-3\nsteps = 10\ncourant = 1.2\n[source]\ncell = 5\n",
         "5:11: courant 1.2 is above 1"},
        // The source inside the slab of slab.toml: R from 2.3 to 25 before it was refused.
        {slab_with_source_at_330.c_str(), "17:8: the source at cell 330 lies in layer 1"},
    };
    for (const BadInput& c : cases) {
        std::ofstream("bad.toml") << c.toml;
        const testsupport::ProcessResult run = fdtd_lab("run bad.toml --out out");
        EXPECT_EQ(run.exit_status, 2) << c.toml;
        EXPECT_NE(run.output.find(std::string("bad.toml:") + c.message), std::string::npos)
            << "expected bad.toml:" << c.message << "\ngot: " << run.output;
        EXPECT_FALSE(fs::exists("out")) << c.toml;
    }
    const testsupport::ProcessResult missing = fdtd_lab("run missing.toml --out out");
    EXPECT_EQ(missing.exit_status, 2);
    EXPECT_NE(missing.output.find("missing.toml: cannot read: No such file"), std::string::npos);
    std::ofstream("a_file") << "x";
    const testsupport::ProcessResult not_a_folder =
        fdtd_lab("run " + (scenarios / "fdtd1d.toml").string() + " --out a_file");
    EXPECT_EQ(not_a_folder.exit_status, 2);
    EXPECT_NE(not_a_folder.output.find("a_file: not a folder"), std::string::npos);
    EXPECT_EQ(fdtd_lab("run").exit_status, 2);
}

TEST(LabRun, ASignalStopsTheRunAndLeavesNothing) {
    testsupport::ScratchDirectory scratch("lab-signal");
    std::string slab = read_file(scenarios / "slab.toml");
    slab.replace(slab.find("steps = 6000"), 12, "steps = 100000000");
    std::ofstream("long.toml") << slab;
    // Stop it once its temporaries are in the folder, that is, once the run has begun.
    const testsupport::ProcessResult run = testsupport::run_process(
        {"sh", "-c",
         std::string(FDTD_LAB) + " run long.toml --out o 2>&1 & pid=$!; i=0; "
                                 "until [ -n \"$(ls -A o 2>/dev/null)\" ] || [ $i -ge 2000 ]; "
                                 "do sleep 0.01; i=$((i+1)); done; "
                                 "kill -TERM $pid; wait $pid; echo status=$?"});
    EXPECT_NE(run.output.find("nothing written"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("status=143"), std::string::npos) << run.output;
    EXPECT_FALSE(fs::exists("o")); // the run made the folder and leaves none behind
}

TEST(LabRun, AGridTooLargeForMemoryIsSaidAndLeavesNothing) {
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "AddressSanitizer needs more address space than the limit leaves";
#endif
    testsupport::ScratchDirectory scratch("lab-memory");
    std::ofstream("big.toml") << "[grid]\ncells = 100000000\ncell_size = 1e-3\nsteps = 10\n"
                                 "[source]\ncell = 50\n";
    const testsupport::ProcessResult run = testsupport::run_process(
        {"sh", "-c", "ulimit -v 400000; " + std::string(FDTD_LAB) + " run big.toml --out o 2>&1"});
    EXPECT_EQ(run.exit_status, 1);
    EXPECT_NE(run.output.find("not enough memory for a grid of 100000000 cells"), std::string::npos)
        << run.output;
    EXPECT_FALSE(fs::exists("o"));
}

} // namespace
