// Style tokens and the property setter, on real records built by create calls.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rizodozad/core/engine.h"

namespace rizodozad {
namespace {

class Styles : public ::testing::Test {
  protected:
    void SetUp() override {
        engine.create_figure();
        engine.create_layer();
        engine.create_line();
        engine.create_line();
        engine.create_surface();
        engine.create_patch();
    }

    Line& first_line() { return internals(engine).line_list[0]; }

    ZarIdor engine;
};

TEST_F(Styles, ColourTokenColoursLineAndMarkerEdgeOnly) {
    internals(engine).last_handle = 3;
    engine.set("r");
    EXPECT_EQ(first_line().color, "r");
    EXPECT_EQ(first_line().marker_edge_color, "r");
    EXPECT_EQ(first_line().line_style, "-");
    EXPECT_EQ(first_line().marker, "none");
    EXPECT_EQ(internals(engine).line_list[1].color, "b"); // only the named line
}

TEST_F(Styles, LineStyleAndMarkerTokensExcludeEachOther) {
    internals(engine).last_handle = 3;
    engine.set("o");
    EXPECT_EQ(first_line().marker, "o");
    EXPECT_EQ(first_line().line_style, "none");
    engine.set("- -");
    EXPECT_EQ(first_line().line_style, "- -");
    EXPECT_EQ(first_line().marker, "none");
}

TEST_F(Styles, EveryTokenIsAcceptedAsAWholeString) {
    const std::vector<std::string> colours{
        "k",  "r",  "b",  "g",  "c",  "m",  "y",  "w",  "dr", "db", "dg", "dc", "dm", "dy", "lr",
        "lb", "lg", "lc", "lm", "ly", "ur", "ub", "ug", "uy", "uc", "up", "uo", "um", "ubr"};
    const std::vector<std::string> styles{"-", "- -", ":", "-."};
    const std::vector<std::string> markers{".", "+", "x", "d", "^", "v", "o",
                                           "*", "s", ">", "<", "p", "h", "|"};
    internals(engine).last_handle = 103;
    Line& line = internals(engine).line_list[1];
    for (const auto& token : colours) {
        engine.set(token);
        EXPECT_EQ(line.color, token);
    }
    for (const auto& token : markers) {
        engine.set(token);
        EXPECT_EQ(line.marker, token);
    }
    for (const auto& token : styles) {
        engine.set(token);
        EXPECT_EQ(line.line_style, token);
    }
}

TEST_F(Styles, CombinedPaddedOrUnknownStringsChangeNothing) {
    internals(engine).last_handle = 3;
    for (const char* style : {"r-o", "--", "R", " r", "r ", "none", "", "rr", "o-"}) {
        engine.set(style);
        EXPECT_EQ(first_line().color, "b") << style;
        EXPECT_EQ(first_line().line_style, "-") << style;
        EXPECT_EQ(first_line().marker, "none") << style;
    }
}

TEST_F(Styles, KeysAreExactAndHandlesMustNameARecord) {
    engine.set(3, "color", "g");
    engine.set(203, "Color", "g"); // only two lines exist
    engine.set(-97, "Color", "g");
    engine.set(-3, "Color", "g");
    engine.set(1, "Color", "g");
    engine.set(6, "Color", "g");
    EXPECT_EQ(first_line().color, "b");
    EXPECT_EQ(internals(engine).line_list[1].color, "b");

    engine.set(103, "Color", "g");
    EXPECT_EQ(internals(engine).line_list[1].color, "g");
    EXPECT_EQ(internals(engine).line_list[1].marker_edge_color, "k");
    engine.set(103, "MarkerFaceColor", "not a colour");
    EXPECT_EQ(internals(engine).line_list[1].marker_face_color, "not a colour");
    engine.set(103, "MarkerEdgeColor", "m");
    EXPECT_EQ(internals(engine).line_list[1].marker_edge_color, "m");
}

TEST_F(Styles, SurfacesAndPatchesTakeColourAsEdge) {
    engine.set(4, "COLOR", "dr");
    EXPECT_EQ(internals(engine).surface_list[0].edge_color, "dr");
    EXPECT_EQ(internals(engine).surface_list[0].face_color, "flat");
    engine.set(4, "FaceColor", "g");
    EXPECT_EQ(internals(engine).surface_list[0].face_color, "g");

    internals(engine).last_handle = 4;
    engine.set("- -");
    EXPECT_EQ(internals(engine).surface_list[0].line_style, "- -");
    engine.set("o");
    EXPECT_EQ(internals(engine).surface_list[0].line_style, "none");

    internals(engine).last_handle = 7;
    engine.set("y");
    EXPECT_EQ(internals(engine).patch_list[0].edge_color, "y");
    engine.set(7, "EdgeColor", "k");
    engine.set(7, "FaceColor", "r");
    engine.set(7, "LineStyle", ":");
    EXPECT_EQ(internals(engine).patch_list[0].edge_color, "k");
    EXPECT_EQ(internals(engine).patch_list[0].face_color, "r");
    EXPECT_EQ(internals(engine).patch_list[0].line_style, ":");
}

TEST_F(Styles, AxesTakeOnlyTickDirection) {
    engine.set(2, "TickDir", "out");
    EXPECT_EQ(internals(engine).axes_list[0].tick_dir, "out");
    internals(engine).last_handle = 2;
    engine.set("r");
    engine.set("- -");
    EXPECT_EQ(internals(engine).axes_list[0].grid_line_style, ":");
    EXPECT_EQ(first_line().color, "b");
}

} // namespace
} // namespace rizodozad
