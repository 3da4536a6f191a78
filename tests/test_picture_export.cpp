// Pictures in every export format, read back by real readers: Ghostscript for PDF,
// xmllint for SVG, ImageMagick for PNG and GIF, the X server for what the window shows.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "rizodozad/core/pictures.h"
#include "rizodozad/rizodozad.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/process.h"
#include "tests/support/scratch_directory.h"
#include "tests/window_pixel.h"

namespace {

namespace fs = std::filesystem;
using testsupport::run_process;

// Every character that means something in PostScript, PDF or XML, a control byte the
// font skips, and ISO 8859-1 letters (e acute, degree sign, multiplication sign).
const std::string hostile_text = "mark(a)b\\c<d>&e\"f'g%h ]]> )(\x01 \xe9\xb0\xd7";
// What a reader must find: the control byte gone, the letters in UTF-8. PDF's
// MacRoman font has no multiplication sign, which becomes '?'.
const std::string hostile_as_drawn = "mark(a)b\\c<d>&e\"f'g%h ]]> )( \u00e9\u00b0\u00d7";
const std::string hostile_in_pdf = "mark(a)b\\c<d>&e\"f'g%h ]]> )( \u00e9\u00b0?";

class TwoLines : public rizodozad::ZarIdor {
  public:
    double shift = 0;
    void compose_figure() override {
        subplot(1, 1, 1);
        if (rizodozad::Axes* axes = current_axes()) axes->title = hostile_text;
        plot({0, 1, 2, 3}, {0, 1 + shift, 0, 1});
        set("r");
        plot({0, 1, 2, 3}, {1, 0, 1 - shift, 0});
        set("b");
        text(1.5, 0.5, hostile_text);
    }
};

class PictureExport : public testsupport::GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        testsupport::size_like_window(engine);
    }
    TwoLines engine;
    testsupport::ScratchDirectory scratch{"picture-export"};
};

std::string output_of(const std::vector<std::string>& argv) {
    const testsupport::ProcessResult result = run_process(argv);
    EXPECT_EQ(result.exit_status, 0) << argv[0] << " failed";
    return result.output;
}

std::vector<std::uint8_t> as_bytes(const std::string& text) { return {text.begin(), text.end()}; }

std::string window_size_text() {
    return std::to_string(testsupport::window_width) + " " +
           std::to_string(testsupport::window_height);
}

TEST_F(PictureExport, PdfIsReadByGhostscriptWithEveryTextIntact) {
    ASSERT_TRUE(engine.export_picture("picture.PDF"));
    const std::string text = output_of({"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE",
                                        "-sDEVICE=txtwrite", "-sOutputFile=-", "picture.PDF"});
    // The title and the text object.
    std::size_t found = 0;
    for (auto at = text.find(hostile_in_pdf); at != std::string::npos;
         at = text.find(hostile_in_pdf, at + 1))
        ++found;
    EXPECT_EQ(found, 2u) << text;

    output_of({"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=png16m", "-r72",
               "-sOutputFile=page.png", "picture.PDF"});
    EXPECT_EQ(output_of({"identify", "-format", "%w %h", "page.png"}), window_size_text());
}

TEST_F(PictureExport, SvgIsWellFormedXmlWithEveryTextIntact) {
    ASSERT_TRUE(engine.export_picture("picture.svg"));
    output_of({"xmllint", "--noout", "picture.svg"});
    const std::string texts = output_of(
        {"xmllint", "--xpath", "//*[local-name()='text'][starts-with(.,'mark')]", "picture.svg"});
    const std::string first =
        output_of({"xmllint", "--xpath",
                   "string((//*[local-name()='text'][starts-with(.,'mark')])[1])", "picture.svg"});
    EXPECT_EQ(first, hostile_as_drawn + "\n");
    EXPECT_NE(texts.find("</text>"), texts.rfind("</text>")) << "title and text object";
}

TEST_F(PictureExport, PngHoldsExactlyWhatTheWindowShows) {
    ASSERT_TRUE(engine.export_picture("picture.png"));
    const std::vector<std::uint8_t> shown =
        testsupport::window_rgb(testsupport::window_width, testsupport::window_height);
    EXPECT_EQ(output_of({"identify", "-format", "%w %h", "picture.png"}), window_size_text());
    const std::string decoded =
        output_of({"/usr/bin/convert", "picture.png", "-depth", "8", "rgb:-"});
    ASSERT_EQ(decoded.size(), shown.size());
    EXPECT_TRUE(as_bytes(decoded) == shown) << "the PNG differs from the window";
}

// The same page as print_eps, chosen by the name's extension.
TEST_F(PictureExport, EpsIsReadByGhostscriptAtTheWindowSize) {
    ASSERT_TRUE(engine.export_picture("picture.Eps"));
    output_of({"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=png16m", "-dEPSCrop",
               "-r72", "-sOutputFile=page.png", "picture.Eps"});
    EXPECT_EQ(output_of({"identify", "-format", "%w %h", "page.png"}), window_size_text());
}

TEST_F(PictureExport, UnknownNamesAndMissingFoldersFailWithoutAFile) {
    EXPECT_FALSE(engine.export_picture("picture.txt"));
    EXPECT_FALSE(engine.export_picture("picture"));
    EXPECT_FALSE(engine.export_picture("no-such-folder/picture.png"));
    EXPECT_TRUE(fs::is_empty(scratch.path()));
}

//-----------------------------------------------------------------------------
// Animated GIF
//-----------------------------------------------------------------------------

std::string gif_frame_rgb(const std::string& file, int index) {
    return output_of(
        {"/usr/bin/convert", file + "[" + std::to_string(index) + "]", "-depth", "8", "rgb:-"});
}

TEST_F(PictureExport, GifKeepsEveryFrameAndColourExactlyWithItsTiming) {
    rizodozad::GifRecorder recorder("movie.gif", 100);
    std::vector<rizodozad::Frame> frames;
    for (long long now_ms : {0LL, 50LL, 100LL, 250LL, 300LL}) {
        if (!recorder.frame_due(now_ms)) continue;
        engine.shift += 0.2;
        frames.push_back(engine.capture_picture());
        recorder.add_frame(frames.back(), now_ms);
    }
    ASSERT_EQ(recorder.frame_count(), 3u); // taken at 0, 100 and 250 ms
    ASSERT_TRUE(recorder.finish());

    EXPECT_EQ(output_of({"identify", "-format", "%w %h %T,", "movie.gif"}),
              "800 400 10,800 400 15,800 400 10,");
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(as_bytes(gif_frame_rgb("movie.gif", i)) == frames[i].rgb) << "frame " << i;
    }
    EXPECT_NE(frames[0].rgb, frames[2].rgb);
}

// A frame of 4096 colours must be reduced to 256 that stay close to the originals: a
// 64 x 64 ramp in 256 cells leaves cells of about 4 x 4 colours, 16 levels across.
TEST_F(PictureExport, GifReducesAFrameOfManyColoursCloselyAndPadsSmallerFrames) {
    constexpr int side = 64;
    rizodozad::Frame ramp{side, side, {}};
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            ramp.rgb.insert(ramp.rgb.end(),
                            {std::uint8_t(4 * x), std::uint8_t(4 * y), std::uint8_t(2 * (x + y))});
    rizodozad::GifRecorder recorder("ramp.gif", 40);
    recorder.add_frame(ramp, 0);
    recorder.add_frame(
        rizodozad::Frame{side / 2, side / 2, std::vector<std::uint8_t>(side * side * 3 / 4, 0)},
        40);
    recorder.add_frame(rizodozad::Frame{}, 80);
    ASSERT_EQ(recorder.frame_count(), 2u);
    ASSERT_TRUE(recorder.finish());

    const std::string first = gif_frame_rgb("ramp.gif", 0);
    ASSERT_EQ(first.size(), ramp.rgb.size());
    std::set<std::string> colours;
    double error = 0;
    for (std::size_t i = 0; i < first.size(); i += 3) {
        colours.insert(first.substr(i, 3));
        for (std::size_t c = 0; c < 3; ++c)
            error += std::abs(int(std::uint8_t(first[i + c])) - int(ramp.rgb[i + c]));
    }
    EXPECT_LE(colours.size(), 256u);
    EXPECT_LT(error / double(first.size()), 10.0) << "mean error per channel, of 255";

    const std::string second = gif_frame_rgb("ramp.gif", 1);
    ASSERT_EQ(second.size(), ramp.rgb.size());
    EXPECT_EQ(second.substr(0, 3), std::string(3, '\0')); // the small frame, top left
    EXPECT_EQ(second.substr(second.size() - 3), std::string(3, '\xff')); // padded white
}

TEST_F(PictureExport, GifRecordingsThatFailOrAreNotFinishedLeaveNoFile) {
    {
        rizodozad::GifRecorder abandoned("abandoned.gif", 100);
        EXPECT_TRUE(abandoned.add_frame(engine.capture_picture(), 0));
    }
    rizodozad::GifRecorder nowhere("no-such-folder/movie.gif", 100);
    EXPECT_FALSE(nowhere.add_frame(engine.capture_picture(), 0));
    EXPECT_FALSE(nowhere.finish());
    rizodozad::GifRecorder empty("empty.gif", 100);
    EXPECT_FALSE(empty.finish());
    EXPECT_TRUE(fs::is_empty(scratch.path()));
}

} // namespace
