// Exports that cannot succeed: a filesystem that fills up partway, a read-only folder,
// streams that refuse writes. Each failure must be said on standard error, "Done!" must
// not appear, no GL2PS page may stay open, the old out.eps must survive
// byte for byte with no temporary left beside it, and the program must go on drawing and
// exporting once the obstacle is gone. Links and FIFOs planted as out.eps are replaced.
//
// The full and read-only filesystems are small tmpfs mounts, which need root (or the
// right to mount); without it those tests are skipped.
#include <gl2ps.h>
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/fdtd.h"
#include "rizodozad/core/engine.h"
#include "tests/support/app_fixture.h"
#include "tests/support/feedback.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/quiet_steps.h"
#include "tests/support/scratch_directory.h"

namespace {

namespace fs = std::filesystem;

constexpr int steps_before_export = 120;
// Far smaller than the page of the picture, so the disk fills while it is written.
constexpr const char* tiny_tmpfs = "size=8k";

// A tmpfs mounted on a directory for the life of the object.
class TmpfsMount {
  public:
    TmpfsMount(const fs::path& at, unsigned long flags, const char* options) : at_(at) {
        fs::create_directories(at_);
        mounted_ = ::mount("tmpfs", at_.c_str(), "tmpfs", flags, options) == 0;
        if (!mounted_) reason_ = std::strerror(errno);
    }
    ~TmpfsMount() {
        if (mounted_) ::umount2(at_.c_str(), MNT_DETACH);
    }
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;
    bool mounted() const { return mounted_; }
    const std::string& reason() const { return reason_; }

  private:
    fs::path at_;
    bool mounted_ = false;
    std::string reason_;
};

struct Outcome {
    std::string out;
    std::string err;
};

constexpr const char* old_picture = "%!PS-Adobe-3.0 EPSF-3.0 the previous picture\n";

std::string contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void plant_old_picture(const fs::path& dir) {
    std::ofstream(dir / "out.eps", std::ios::binary) << old_picture;
}

std::size_t entries_in(const fs::path& dir) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

// GL2PS answers GL2PS_UNINITIALIZED to every call while no page is open.
bool no_page_open() { return gl2psEnable(GL2PS_LINE_STIPPLE) == GL2PS_UNINITIALIZED; }

class ExportFailures : public testsupport::AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        run_and_draw(steps_before_export);
    }

    // print_eps in dir, with what it said.
    Outcome print_in(const fs::path& dir) {
        const fs::path previous = fs::current_path();
        fs::current_path(dir);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        app.print_eps();
        Outcome outcome{testing::internal::GetCapturedStdout(),
                        testing::internal::GetCapturedStderr()};
        fs::current_path(previous);
        return outcome;
    }

    // The failure was said, nothing claims success, and drawing goes on as before.
    void expect_reported_and_recovered(const Outcome& outcome, int error, const char* what) {
        EXPECT_EQ(outcome.out.find("Done!"), std::string::npos) << what << ": " << outcome.out;
        EXPECT_NE(outcome.err.find("out.eps"), std::string::npos) << what << ": " << outcome.err;
        EXPECT_NE(outcome.err.find(std::strerror(error)), std::string::npos)
            << what << ": " << outcome.err;
        EXPECT_TRUE(no_page_open()) << what;
        EXPECT_EQ(internals(app).mode, rizodozad::display_mode::configuration) << what;
        const auto drawn = testsupport::capture_feedback([&] { app.display_cycle(); });
        EXPECT_GT(drawn.count(testsupport::PrimitiveKind::line),
                  static_cast<std::size_t>(2 * grid_cells))
            << what;
        EXPECT_EQ(internals(app).mode, rizodozad::display_mode::configuration) << what;
    }
};

} // namespace

TEST_F(ExportFailures, AFilesystemThatFillsUpPartwayIsReported) {
    testsupport::ScratchDirectory scratch("export-failures");
    const fs::path full = scratch.path() / "full";
    TmpfsMount disk(full, 0, tiny_tmpfs);
    if (!disk.mounted()) GTEST_SKIP() << "cannot mount a tmpfs: " << disk.reason();
    plant_old_picture(full);

    const Outcome outcome = print_in(full);
    EXPECT_EQ(outcome.out.find("Writing 'out.eps'... "), 0u);
    expect_reported_and_recovered(outcome, ENOSPC, "full tmpfs");
    EXPECT_EQ(contents(full / "out.eps"), old_picture);
    EXPECT_EQ(entries_in(full), 1u);

    // Room again: the next export goes through.
    const Outcome after = print_in(scratch.path());
    EXPECT_EQ(after.out, "Writing 'out.eps'... Done!\n");
    EXPECT_GT(fs::file_size(scratch.path() / "out.eps"), static_cast<std::uintmax_t>(8192));
}

TEST_F(ExportFailures, AReadOnlyFolderIsReported) {
    testsupport::ScratchDirectory scratch("export-failures");
    const fs::path read_only = scratch.path() / "read-only";
    // Root writes through any permission bits, but not into a read-only filesystem.
    TmpfsMount disk(read_only, 0, tiny_tmpfs);
    if (!disk.mounted()) GTEST_SKIP() << "cannot mount a tmpfs: " << disk.reason();
    plant_old_picture(read_only);
    ASSERT_EQ(::mount(nullptr, read_only.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0)
        << std::strerror(errno);

    const Outcome outcome = print_in(read_only);
    EXPECT_EQ(outcome.out, "");
    expect_reported_and_recovered(outcome, EROFS, "read-only tmpfs");
    EXPECT_EQ(contents(read_only / "out.eps"), old_picture);
    EXPECT_EQ(entries_in(read_only), 1u);
}

// A link planted as out.eps is replaced by the picture, never written through: it must not
// reach the file it points to. A FIFO there is somebody's: refused without blocking.
TEST_F(ExportFailures, PlantedLinksAreReplacedNotFollowedAndFifosRefused) {
    testsupport::ScratchDirectory scratch("export-failures");
    plant_old_picture(scratch.path());
    fs::rename(scratch.path() / "out.eps", scratch.path() / "victim");
    struct Case {
        const char* what;
        void (*make)(const fs::path& out_eps);
    };
    const Case cases[] = {
        {"a link to another's file", [](const fs::path& p) { fs::create_symlink("../victim", p); }},
        {"a link into a missing folder",
         [](const fs::path& p) { fs::create_symlink("missing/out.eps", p); }},
        {"a link to itself", [](const fs::path& p) { fs::create_symlink(p.filename(), p); }},
        {"a link to the full device",
         [](const fs::path& p) { fs::create_symlink("/dev/full", p); }},
    };
    for (const Case& c : cases) {
        const fs::path dir = scratch.path() / c.what;
        fs::create_directories(dir);
        c.make(dir / "out.eps");
        EXPECT_EQ(print_in(dir).out, "Writing 'out.eps'... Done!\n") << c.what;
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir / "out.eps"))) << c.what;
        EXPECT_NE(contents(dir / "out.eps").find("(Ez in space)"), std::string::npos) << c.what;
        EXPECT_EQ(entries_in(dir), 1u) << c.what;
    }
    EXPECT_EQ(contents(scratch.path() / "victim"), old_picture);
    EXPECT_FALSE(fs::exists(scratch.path() / "a link into a missing folder" / "missing"));

    const fs::path fifo_dir = scratch.path() / "a FIFO";
    fs::create_directories(fifo_dir);
    ASSERT_EQ(::mkfifo((fifo_dir / "out.eps").c_str(), 0600), 0);
    const Outcome outcome = print_in(fifo_dir);
    EXPECT_NE(outcome.err.find("neither a regular file nor a link"), std::string::npos)
        << outcome.err;
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(fifo_dir / "out.eps")));
    EXPECT_EQ(entries_in(fifo_dir), 1u);
}

TEST_F(ExportFailures, StreamsThatRefuseWritesAreNotTakenForSuccess) {
    testsupport::ScratchDirectory scratch("export-failures");
    std::ofstream("existing.eps").close();
    std::FILE* read_only = std::fopen("existing.eps", "rb");
    ASSERT_NE(read_only, nullptr);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(app.export_eps(read_only, "existing.eps"));
    const std::string err = testing::internal::GetCapturedStderr();
    std::fclose(read_only);
    EXPECT_NE(err.find("existing.eps"), std::string::npos) << err;
    EXPECT_TRUE(no_page_open());
    EXPECT_EQ(fs::file_size("existing.eps"), 0u);

    testing::internal::CaptureStderr();
    EXPECT_FALSE(app.export_eps(nullptr, "nothing.eps"));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("nothing.eps"), std::string::npos);
    EXPECT_TRUE(no_page_open());

    char* data = nullptr;
    std::size_t size = 0;
    std::FILE* memory = open_memstream(&data, &size);
    ASSERT_NE(memory, nullptr);
    EXPECT_TRUE(app.export_eps(memory, "out.eps"));
    std::fclose(memory);
    EXPECT_NE(std::string(data, size).find("(Ez in space)"), std::string::npos);
    std::free(data);
}
