// One writer at a time in a folder, and folders that cannot be written: the view's tables
// wait for the folder a run holds, and a run into a folder its user may not write says so
// and leaves the folder as it was. Real processes, a real unprivileged user.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
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

extern char** environ;

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

// Holds the working directory's lock the way another process would, until destroyed.
using Holder = std::function<std::function<void()>()>;

std::function<void()> lock_on_another_descriptor() {
    const int fd = ::open(".", O_RDONLY | O_DIRECTORY);
    EXPECT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    return [fd] { ::close(fd); };
}

// A real run into the working directory, caught while it steps (its temporaries exist).
std::function<void()> run_in_progress() {
    std::string slab = read_file(scenarios / "slab.toml");
    slab.replace(slab.find("steps = 6000"), 12, "steps = 100000000");
    std::ofstream("../long.toml") << slab;
    const char* argv[] = {lab.c_str(), "run", "../long.toml", "--out", ".", nullptr};
    pid_t pid = 0;
    EXPECT_EQ(::posix_spawn(&pid, argv[0], nullptr, nullptr, const_cast<char**>(argv), environ), 0);
    for (int i = 0; i < 2000 && names_in(".").size() < 3; ++i)
        ::usleep(10'000);
    return [pid] {
        ::kill(pid, SIGTERM);
        ::waitpid(pid, nullptr, 0);
    };
}

TEST(LabFolderLock, TheViewsTablesAreNotWrittenWhileAnotherHoldsTheFolder) {
    const lab::Scenario scenario = lab::load_scenario(scenarios / "fdtd1d.toml");
    for (const auto& [holder_name, hold] :
         {std::pair<const char*, Holder>{"flock on another descriptor", lock_on_another_descriptor},
          {"a running fdtd-lab run", run_in_progress}}) {
        SCOPED_TRACE(holder_name);
        testsupport::ScratchDirectory parent("lab-view-lock");
        fs::create_directory("tables");
        fs::current_path("tables");
        std::ofstream("fields.csv") << "old";
        lab::Experiment experiment(scenario);
        experiment.step();
        const lab::view::ProbeHistories histories;

        const std::function<void()> release = hold();
        const std::set<std::string> before = names_in(".");
        const std::string refused = lab::view::write_tables(experiment, histories);
        EXPECT_NE(refused.find("no tables written: another fdtd-lab run is writing into " +
                               fs::current_path().string()),
                  std::string::npos)
            << refused;
        EXPECT_EQ(names_in("."), before) << "no table and no temporary of the view's";
        release();
        EXPECT_TRUE(read_file("fields.csv") == "old") << "the old fields.csv stays";

        // Once the folder is free, the same key writes the tables.
        const std::string written = lab::view::write_tables(experiment, histories);
        EXPECT_EQ(written.rfind("wrote ", 0), 0u) << written;
        EXPECT_EQ(read_file("fields.csv").rfind("cell,x_m,Ez,Hy\n0,", 0), 0u);
        fs::current_path(parent.path());
    }
}

// The view's tables while it records: the program shares the hold it has, and the folder is
// free only when the last of its holders is gone.
TEST(LabFolderLock, HoldersInOneProgramShareTheFolderAndFreeItTogether) {
    testsupport::ScratchDirectory scratch("lab-shared-lock");
    const auto free_to_others = [] {
        const int fd = ::open(".", O_RDONLY | O_DIRECTORY);
        const bool taken = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        ::close(fd);
        return taken;
    };
    auto recording = std::make_unique<lab::FolderLock>(".");
    {
        const lab::FolderLock tables(scratch.path().string()); // the same folder, named apart
        EXPECT_EQ(tables.problem(), "");
        EXPECT_FALSE(free_to_others());
    }
    EXPECT_FALSE(free_to_others()) << "the first holder still holds it";
    recording.reset();
    EXPECT_TRUE(free_to_others());
    const lab::FolderLock again(".");
    EXPECT_EQ(again.problem(), "");
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
