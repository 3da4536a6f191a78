// Text in an EPS export is PostScript string syntax: whatever a title, an axis label, a
// text record or a layer name holds, Ghostscript reads the file without error and gets
// every string back byte for byte, and nothing in a string runs as PostScript.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "rizodozad/core/text_escape.h"
#include "rizodozad/rizodozad.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/process.h"
#include "tests/support/scratch_directory.h"

namespace {

const std::vector<std::string> hostile{
    "f(x) = 1) unbalanced",
    "C:\\temp\\",
    ") show 1 0 0 setrgbcolor 0 0 moveto 800 400 lineto stroke (",
    "tab\there, bell\x07, e acute \xe9, delete \x7f, \\(",
};

class HostileTexts : public rizodozad::ZarIdor {
  public:
    void compose_figure() override {
        layer(hostile[3]);
        subplot(1, 1, 1);
        if (rizodozad::Axes* axes = current_axes()) {
            axes->title = hostile[0];
            axes->x_label = hostile[1];
            axes->y_label = hostile[2];
        }
        plot({0, 1, 2}, {0, 1, 0});
        text(1, 0.5, hostile[2]);
    }
};

// Ghostscript's reading of every string the page shows: its length, a space, its bytes.
const char* const print_shown_strings =
    "/show { dup length =only ( ) print print (\\n) print } def";

std::vector<std::string> shown_strings(const std::string& listing) {
    std::vector<std::string> strings;
    std::size_t at = 0;
    while (at < listing.size()) {
        std::size_t end = 0;
        const std::size_t length = std::stoul(listing.substr(at), &end);
        strings.push_back(listing.substr(at + end + 1, length));
        at += end + 1 + length + 1;
    }
    return strings;
}

bool contains(const std::vector<std::string>& strings, const std::string& s) {
    for (const std::string& candidate : strings)
        if (candidate == s) return true;
    return false;
}

} // namespace

TEST(PostscriptString, EscapesWhatStringSyntaxGivesMeaningTo) {
    using rizodozad::text_escape::postscript_string;
    EXPECT_EQ(postscript_string("plain text 1.0"), "plain text 1.0");
    EXPECT_EQ(postscript_string("(a\\b)"), "\\(a\\\\b\\)");
    EXPECT_EQ(postscript_string(std::string("\n\t\x7f\xe9\0", 5)), "\\012\\011\\177\\351\\000");
}

class EpsText : public testsupport::GlTest {};

TEST_F(EpsText, EveryTextFieldReadsBackAsWrittenAndRunsNothing) {
    testsupport::ScratchDirectory scratch("eps-text");
    HostileTexts engine;
    testsupport::size_like_window(engine);
    engine.pointer_x = 1; // shows the layer list, and with it the layer's name
    testing::internal::CaptureStdout();
    engine.print_eps();
    ASSERT_EQ(testing::internal::GetCapturedStdout(), "Writing 'out.eps'... Done!\n");

    const testsupport::ProcessResult read =
        testsupport::run_process({"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE",
                                  "-sDEVICE=nullpage", "-c", print_shown_strings, "-f", "out.eps"});
    ASSERT_EQ(read.exit_status, 0) << read.output;
    const std::vector<std::string> strings = shown_strings(read.output);
    for (const std::string& s : hostile)
        EXPECT_TRUE(contains(strings, s)) << s << "\nin\n" << read.output;
}
