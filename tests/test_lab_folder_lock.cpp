// One writer at a time in a folder, and folders that cannot be written: the view's tables
// wait for a folder another holds, and the real program, run as an unprivileged user into a
// folder it may not write, says so and leaves the folder as it was.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>

#include "lab/analysis/experiment.h"
#include "lab/analysis/folder_lock.h"
#include "lab/scenario/scenario_reader.h"
#include "lab/view/outputs.h"
#include "tests/support/process.h"
#include "tests/support/scratch_directory.h"

namespace {

namespace fs = std::filesystem;

const fs::path scenarios = LAB_SCENARIOS;
const std::string lab = FDTD_LAB;

std::string read_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::set<std::string> names_in(const fs::path& folder) {
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

//-----------------------------------------------------------------------------
// [SECTION] The view's tables and the folder's lock
//-----------------------------------------------------------------------------

// An flock on another descriptor of the folder: another process's hold, as this program
// sees it.
int lock_on_another_descriptor() {
    const int fd = ::open(".", O_RDONLY | O_DIRECTORY);
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? fd : (::close(fd), -1);
}

TEST(LabFolderLock, TheViewsTablesAreNotWrittenWhileAnotherHoldsTheFolder) {
    testsupport::ScratchDirectory scratch("lab-view-lock");
    std::ofstream("fields.csv") << "old";
    lab::Experiment experiment(lab::load_scenario(scenarios / "fdtd1d.toml"));
    experiment.step();
    const lab::view::ProbeHistories histories;

    const int held = lock_on_another_descriptor();
    ASSERT_GE(held, 0);
    const std::string refused = lab::view::write_tables(experiment, histories);
    EXPECT_EQ(refused, "no tables written: another fdtd-lab run is writing into " +
                           scratch.path().string() + "; press c again when it has ended");
    EXPECT_EQ(names_in("."), std::set<std::string>{"fields.csv"}) << "nor any temporary";
    EXPECT_TRUE(read_file("fields.csv") == "old");
    ::close(held);

    const std::string written = lab::view::write_tables(experiment, histories);
    EXPECT_EQ(written.rfind("wrote ", 0), 0u) << written;
    EXPECT_EQ(read_file("fields.csv").rfind("cell,x_m,Ez,Hy\n0,", 0), 0u);
}

// The view's tables while it records: the program shares the hold it has, and the folder is
// free to others only when the last of its holders is gone.
TEST(LabFolderLock, HoldersInOneProgramShareTheFolderAndFreeItTogether) {
    testsupport::ScratchDirectory scratch("lab-shared-lock");
    const auto free_to_others = [] {
        const int fd = lock_on_another_descriptor();
        return fd >= 0 && ::close(fd) == 0;
    };
    auto recording = std::make_unique<lab::FolderLock>(".");
    {
        const lab::FolderLock tables(scratch.path().string()); // the same folder, named apart
        EXPECT_EQ(tables.problem(), "");
    }
    EXPECT_FALSE(free_to_others()) << "the first holder still holds it";
    recording.reset();
    EXPECT_TRUE(free_to_others());
}

//-----------------------------------------------------------------------------
// [SECTION] Folders the user may not write
//-----------------------------------------------------------------------------

// `fdtd-lab ARGS` as the unprivileged user nobody; its exit status and both streams.
testsupport::ProcessResult as_nobody(const std::string& args) {
    for (const char* become :
         {"setpriv --reuid=65534 --regid=65534 --clear-groups", "runuser -u nobody --"}) {
        const std::string command = std::string(become) + " ";
        if (testsupport::run_process({"sh", "-c", command + "true 2>/dev/null"}).exit_status != 0)
            continue;
        return testsupport::run_process({"sh", "-c", command + lab + " " + args + " 2>&1"});
    }
    return {};
}

TEST(LabFolderLock, ARunIntoAFolderItMayNotWriteSaysWhichAndLeavesItAsItWas) {
    testsupport::ScratchDirectory scratch("lab-read-only");
    fs::create_directories("read_only");
    fs::create_directories("read_only_parent");
    std::ofstream("read_only/fields.csv") << "old";
    fs::permissions(scratch.path(), fs::perms::all);
    for (const char* folder : {"read_only", "read_only_parent"})
        fs::permissions(folder, fs::perms::owner_all | fs::perms::group_read |
                                    fs::perms::group_exec | fs::perms::others_read |
                                    fs::perms::others_exec);
    const std::string folder_above = (scratch.path() / "read_only_parent").string();
    const struct {
        const char* out;
        std::string message;
    } cases[] = {
        {"read_only", "fdtd-lab: read_only: cannot write into this folder: Permission denied"},
        {"read_only_parent/new/deeper",
         "fdtd-lab: read_only_parent/new/deeper: cannot create: Permission denied in " +
             folder_above},
    };
    const std::string scenario = (scenarios / "fdtd1d.toml").string();
    for (const auto& c : cases) {
        const testsupport::ProcessResult run = as_nobody("run " + scenario + " --out " + c.out);
        if (run.exit_status == -1) GTEST_SKIP() << "neither setpriv nor runuser can become nobody";
        EXPECT_EQ(run.exit_status, 2) << c.out;
        EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
    }
    EXPECT_EQ(names_in("read_only"), std::set<std::string>{"fields.csv"});
    EXPECT_EQ(read_file("read_only/fields.csv"), "old");
    EXPECT_TRUE(fs::is_empty("read_only_parent"));
}

} // namespace
