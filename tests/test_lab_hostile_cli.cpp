// fdtd-lab run used clumsily or with hostile intent: a full disk, signals, output that
// cannot be written, files that are not scenarios, escape sequences, closed descriptors.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "tests/support/process.h"
#include "tests/support/scratch_directory.h"

namespace {

namespace fs = std::filesystem;

// A run that wrote nothing leaves its --out folder empty, or removes it when it made it.
bool nothing_left_in(const fs::path& folder) { return !fs::exists(folder) || fs::is_empty(folder); }

const fs::path scenarios = LAB_SCENARIOS;
const std::string lab = FDTD_LAB;

testsupport::ProcessResult shell(const std::string& command) {
    return testsupport::run_process({"sh", "-c", command});
}

std::string read_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::map<std::string, std::string> folder_contents(const fs::path& folder) {
    std::map<std::string, std::string> contents;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        contents[entry.path().filename().string()] = read_file(entry.path());
    return contents;
}

// lossy_slab with few steps and many spectrum points: spectra.csv, written last, is by far
// the largest file (about 3 MB against 40 and 50 kB).
std::string wide_spectrum(int delay) {
    std::string text = read_file(scenarios / "lossy_slab.toml");
    text.replace(text.find("steps = 6000"), 12, "steps = 600");
    text.replace(text.find("points = 150"), 12, "points = 30000");
    text.replace(text.find("delay = 60"), 10, "delay = " + std::to_string(delay));
    return text;
}

// A run that is long enough to be caught in the act: slab.toml with 10^8 steps.
void write_long_scenario() {
    std::string slab = read_file(scenarios / "slab.toml");
    slab.replace(slab.find("steps = 6000"), 12, "steps = 100000000");
    std::ofstream("long.toml") << slab;
}

// Starts a long run into o, waits until its temporaries are there, then runs the command.
std::string while_a_run_writes_into_o(const std::string& command) {
    return lab +
           " run long.toml --out o >/dev/null 2>&1 & pid=$!; i=0; "
           "until [ -n \"$(ls -A o 2>/dev/null)\" ] || [ $i -ge 2000 ]; "
           "do sleep 0.01; i=$((i+1)); done; " +
           command + "; kill $pid; wait $pid";
}

//-----------------------------------------------------------------------------
// [SECTION] The files of a run are one set
//-----------------------------------------------------------------------------

struct FullDiskCase {
    int limit_kb;        // ulimit -f: a file beyond it fails its write as on a full disk
    const char* message; // names the file that failed and why
};

TEST(LabHostileRun, AFailedRunKeepsEveryOldFileAndSaysWhichFileFailedAndWhy) {
    testsupport::ScratchDirectory scratch("lab-full-disk");
    std::ofstream("first.toml") << wide_spectrum(60);
    std::ofstream("second.toml") << wide_spectrum(70);
    ASSERT_EQ(shell(lab + " run first.toml --out s").exit_status, 0);
    const std::map<std::string, std::string> before = folder_contents("s");
    ASSERT_EQ(before.size(), 3u);
    const FullDiskCase cases[] = {
        // fields.csv and probes.csv are complete when spectra.csv fails.
        {1000, "s/spectra.csv: cannot write: File too large"},
        {10, "s/probes.csv: cannot write: File too large"},
    };
    for (const FullDiskCase& c : cases) {
        const testsupport::ProcessResult run = shell("ulimit -f " + std::to_string(c.limit_kb) +
                                                     "; " + lab + " run second.toml --out s 2>&1");
        EXPECT_EQ(run.exit_status, 1) << run.output;
        EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
        EXPECT_TRUE(folder_contents("s") == before) << "a file changed or a temporary stayed";
    }
}

TEST(LabHostileRun, ASummaryThatCannotBeWrittenIsSaid) {
    testsupport::ScratchDirectory scratch("lab-full-output");
    const testsupport::ProcessResult run =
        shell(lab + " run " + (scenarios / "fdtd1d.toml").string() + " --out o 2>&1 >/dev/full");
    EXPECT_EQ(run.exit_status, 1);
    EXPECT_NE(run.output.find("standard output: cannot write the summary: No space left"),
              std::string::npos)
        << run.output;
}

// Any signal that would end the program ends the run with nothing written, no temporary.
TEST(LabHostileRun, StoppingSignalsLeaveNoTemporaries) {
    testsupport::ScratchDirectory scratch("lab-signals");
    write_long_scenario();
    for (const auto& [name, number] :
         {std::pair{"HUP", SIGHUP}, {"USR1", SIGUSR1}, {"PIPE", SIGPIPE}, {"QUIT", SIGQUIT}}) {
        fs::remove_all("o");
        const testsupport::ProcessResult run =
            shell(lab +
                  " run long.toml --out o 2>&1 & pid=$!; i=0; "
                  "until [ -n \"$(ls -A o 2>/dev/null)\" ] || [ $i -ge 2000 ]; "
                  "do sleep 0.01; i=$((i+1)); done; kill -" +
                  std::string(name) + " $pid; wait $pid; echo status=$?");
        EXPECT_NE(run.output.find("status=" + std::to_string(128 + number)), std::string::npos)
            << name << ": " << run.output;
        EXPECT_TRUE(nothing_left_in("o")) << name;
    }
}

TEST(LabHostileRun, ASecondRunIntoTheSameFolderIsRefused) {
    testsupport::ScratchDirectory scratch("lab-lock");
    write_long_scenario();
    const testsupport::ProcessResult run = shell(while_a_run_writes_into_o(
        lab + " run " + (scenarios / "fdtd1d.toml").string() + " --out o 2>&1; echo status=$?"));
    EXPECT_NE(run.output.find("o: another fdtd-lab run is writing into this folder"),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("status=2"), std::string::npos) << run.output;
    EXPECT_TRUE(nothing_left_in("o")) << "the first run's temporaries went when it was stopped";
}

TEST(LabHostileRun, TemporariesAKilledRunLeftAreRemovedByTheNext) {
    testsupport::ScratchDirectory scratch("lab-stale");
    fs::create_directory("o");
    for (const char* name : {".fields.csv.Ab3dEf", ".probes.csv.123456", ".spectra.csv.zzzzzz",
                             ".notes.csv.123456", ".fields.csv.1234567", "fields.csv.123456"})
        std::ofstream(fs::path("o") / name) << "partial";
    ASSERT_EQ(shell(lab + " run " + (scenarios / "fdtd1d.toml").string() + " --out o").exit_status,
              0);
    std::set<std::string> left;
    for (const auto& [name, contents] : folder_contents("o"))
        left.insert(name);
    // Only the temporaries of the files this run writes go (fdtd1d.toml has no spectrum);
    // files that merely look alike stay.
    const std::set<std::string> expected = {".notes.csv.123456", ".fields.csv.1234567",
                                            "fields.csv.123456", ".spectra.csv.zzzzzz",
                                            "fields.csv",        "probes.csv"};
    EXPECT_EQ(left, expected);
}

TEST(LabHostileRun, AnOutputFolderThatLooksLikeAnOptionIsRefused) {
    testsupport::ScratchDirectory scratch("lab-dashes");
    const testsupport::ProcessResult run =
        shell(lab + " run " + (scenarios / "fdtd1d.toml").string() + " -o -x 2>&1");
    EXPECT_EQ(run.exit_status, 2);
    EXPECT_NE(run.output.find("--out: '-x' looks like an option"), std::string::npos) << run.output;
    EXPECT_FALSE(fs::exists("-x"));
}

//-----------------------------------------------------------------------------
// [SECTION] What is not a scenario, and what a file may try on a terminal
//-----------------------------------------------------------------------------

TEST(LabHostileRun, OnlyRegularFilesOfSaneSizeAreRead) {
    testsupport::ScratchDirectory scratch("lab-not-a-file");
    ASSERT_EQ(shell("mkfifo fifo").exit_status, 0);
    std::ofstream("huge.toml") << std::string((16 << 20) + 1, '#');
    const std::pair<const char*, const char*> cases[] = {
        {"/dev/zero", "/dev/zero: cannot read: not a regular file"},
        {"fifo", "fifo: cannot read: not a regular file"},
        {"huge.toml", "huge.toml: cannot read: larger than 16 MB"},
    };
    for (const auto& [path, message] : cases) {
        const testsupport::ProcessResult run =
            shell(lab + " run " + std::string(path) + " --out o 2>&1");
        EXPECT_EQ(run.exit_status, 2) << path;
        EXPECT_NE(run.output.find(message), std::string::npos) << run.output;
    }
}

TEST(LabHostileRun, ControlCharactersFromTheFileArePrintedEscaped) {
    testsupport::ScratchDirectory scratch("lab-escapes");
    const std::string grid = "[grid]\ncells = 100\ncell_size = 1e-3\nsteps = 10\n";
    const std::pair<std::string, const char*> cases[] = {
        {grid + "\"\\u001b]0;pwned\\u0007\\u001b[2J\" = 1\n",
         "unknown key '\\x1b]0;pwned\\x07\\x1b[2J' in [grid]"},
        {grid + "[source]\ncell = 50\n[[probe]]\nname = \"a\\u009b2J\\r\"\ncell = 3\n",
         "probe name 'a\\u009b2J\\x0d' must be"},
    };
    for (const auto& [toml, message] : cases) {
        std::ofstream("bad.toml") << toml;
        const testsupport::ProcessResult run = shell(lab + " run bad.toml --out o 2>&1");
        EXPECT_EQ(run.exit_status, 2);
        EXPECT_NE(run.output.find(message), std::string::npos) << run.output;
        EXPECT_EQ(run.output.find('\x1b'), std::string::npos);
    }
}

// Started with descriptor 2 closed, the program has /dev/null there, not its first file.
TEST(LabHostileRun, ClosedStandardDescriptorsAreReopenedOnDevNull) {
    testsupport::ScratchDirectory scratch("lab-closed-fds");
    write_long_scenario();
    const testsupport::ProcessResult run =
        shell(lab + " run long.toml --out o 2>&- <&- & pid=$!; i=0; "
                    "until [ -n \"$(ls -A o 2>/dev/null)\" ] || [ $i -ge 2000 ]; "
                    "do sleep 0.01; i=$((i+1)); done; readlink /proc/$pid/fd/0 /proc/$pid/fd/2; "
                    "kill $pid; wait $pid");
    EXPECT_EQ(run.output, "/dev/null\n/dev/null\n");
    EXPECT_TRUE(nothing_left_in("o"));
}

} // namespace
