// Exports asked for before there is a window: freeglut would end the process at the first
// drawing call, after out.eps had been emptied. Each is refused with a reason instead.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "rizodozad/rizodozad.h"
#include "tests/support/scratch_directory.h"

namespace fs = std::filesystem;

TEST(ExportWithoutWindow, IsRefusedAndChangesNothing) {
    testsupport::ScratchDirectory scratch("export-without-window");
    const std::string old_picture = "%!PS-Adobe-3.0 EPSF-3.0 the previous picture\n";
    std::ofstream("out.eps", std::ios::binary) << old_picture;
    rizodozad::ZarIdor engine;

    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    engine.print_eps();
    EXPECT_FALSE(engine.export_picture("picture.png"));
    EXPECT_FALSE(engine.export_eps(stdout, "stream.eps"));
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string err = testing::internal::GetCapturedStderr();

    EXPECT_EQ(out, "");
    for (const char* name : {"'out.eps'", "'picture.png'", "'stream.eps'"})
        EXPECT_NE(err.find(name), std::string::npos) << name << " in " << err;
    EXPECT_NE(err.find("no window"), std::string::npos) << err;
    std::ifstream in("out.eps", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), old_picture);
    EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 1);
}
