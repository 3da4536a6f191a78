// Whole-or-nothing file writing: the target changes only by a complete rename, and failures
// leave it and its folder as they were. Links and FIFOs at the target are covered through
// the real export in test_export_failures.
#include <gtest/gtest.h>

#include <limits.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "rizodozad/core/atomic_file.h"
#include "tests/support/scratch_directory.h"

namespace {

namespace fs = std::filesystem;
using rizodozad::AtomicFile;

std::string contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write_file(const fs::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

std::vector<std::string> names_in(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename());
    return names;
}

bool write_and_commit(const std::string& target, const std::string& text) {
    AtomicFile file(target);
    if (file.stream() == nullptr) return false;
    std::fputs(text.c_str(), file.stream());
    return file.commit();
}

} // namespace

TEST(AtomicFile, ReplacesTheTargetWholeWithTheModeOfAFreshFile) {
    testsupport::ScratchDirectory scratch("atomic-file");
    write_file("out.eps", "old picture");
    ASSERT_TRUE(write_and_commit("out.eps", "new picture"));
    EXPECT_EQ(contents("out.eps"), "new picture");
    EXPECT_EQ(names_in("."), std::vector<std::string>{"out.eps"});

    const mode_t mask = ::umask(0);
    ::umask(mask);
    struct stat info {};
    ASSERT_EQ(::stat("out.eps", &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask);

    fs::create_directory("sub");
    ASSERT_TRUE(write_and_commit("sub/out.eps", "in a folder"));
    EXPECT_EQ(contents("sub/out.eps"), "in a folder");
}

TEST(AtomicFile, AnUncommittedOrFailedWriteLeavesTheOldFileAndNoTemporary) {
    testsupport::ScratchDirectory scratch("atomic-file");
    write_file("out.eps", "old picture");
    {
        AtomicFile abandoned("out.eps");
        ASSERT_NE(abandoned.stream(), nullptr);
        std::fputs("half a pict", abandoned.stream());
    }
    EXPECT_EQ(contents("out.eps"), "old picture");
    EXPECT_EQ(names_in("."), std::vector<std::string>{"out.eps"});

    fs::create_directory("folder.eps");
    write_file("folder.eps/inside", "kept");
    AtomicFile onto_folder("folder.eps");
    EXPECT_FALSE(onto_folder.commit());
    EXPECT_EQ(onto_folder.error(), EISDIR);
    EXPECT_EQ(contents("folder.eps/inside"), "kept");
    EXPECT_EQ(names_in(".").size(), 2u);

    AtomicFile nowhere("missing/out.eps");
    EXPECT_EQ(nowhere.stream(), nullptr);
    EXPECT_EQ(nowhere.error(), ENOENT);
    EXPECT_FALSE(nowhere.commit());
}

// What sits at the target decides: a device, FIFO or socket is never replaced, a file that
// is replaced keeps its permissions, and a name as long as the folder allows still works.
TEST(AtomicFile, RefusesWhatIsNotAFileKeepsModesAndTakesTheLongestNames) {
    testsupport::ScratchDirectory scratch("atomic-file");
    ASSERT_EQ(::mkfifo("pipe.eps", 0600), 0);
    AtomicFile onto_fifo("pipe.eps");
    EXPECT_EQ(onto_fifo.stream(), nullptr);
    EXPECT_EQ(onto_fifo.error(), rizodozad::not_a_file_error);
    EXPECT_NE(std::string(onto_fifo.error_text()).find("neither a regular file"),
              std::string::npos);
    EXPECT_FALSE(onto_fifo.commit());
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status("pipe.eps")));
    EXPECT_FALSE(write_and_commit("/dev/null", "never"));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));

    write_file("private.csv", "old");
    ASSERT_EQ(::chmod("private.csv", 0600), 0);
    ASSERT_TRUE(write_and_commit("private.csv", "new"));
    struct stat info {};
    ASSERT_EQ(::stat("private.csv", &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    const std::string longest(NAME_MAX, 'n');
    ASSERT_TRUE(write_and_commit(longest, "fits"));
    EXPECT_EQ(contents(longest), "fits");
    EXPECT_EQ(names_in(".").size(), 3u);
}
