// Named colours, colormaps and the engine's current colormap.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "rizodozad/core/engine.h"

namespace rizodozad {
namespace {

const Rgb black{0, 0, 0};
const Rgb white{1, 1, 1};

TEST(ColorNames, TableValuesAreSinglePrecision) {
    EXPECT_EQ(color_to_rgb("k"), black);
    EXPECT_EQ(color_to_rgb("r"), (Rgb{1, 0, 0}));
    EXPECT_EQ(color_to_rgb("dg"), (Rgb{0, 0.6f, 0}));
    EXPECT_EQ(color_to_rgb("lc"), (Rgb{0.5f, 1, 1}));
    EXPECT_EQ(color_to_rgb("ub"), (Rgb{0, 0.25f, 1}));
    EXPECT_EQ(color_to_rgb("ug"), (Rgb{0.2f, 0.6f, 0.4f}));
    EXPECT_EQ(color_to_rgb("um"), (Rgb{0.6f, 0, 0.4f}));
    EXPECT_EQ(color_to_rgb("ubr"), (Rgb{0.4f, 0.2f, 0}));
    EXPECT_EQ(color_to_rgb("uy"), white); // not a yellow
    EXPECT_EQ(color_to_rgb("w"), white);
}

TEST(ColorNames, OtherStringsAreBlack) {
    for (const char* spec : {"R", "red", "", "dgg", "d", " r", "flat", "none"}) {
        EXPECT_EQ(color_to_rgb(spec), black) << spec;
    }
}

// Every map's colours at both ends of the colour axis.
TEST(Colormaps, EdgeValues) {
    struct Ends {
        const char* name;
        Rgb low;
        Rgb high;
    };
    const std::vector<Ends> maps{
        {"Gray", black, white},
        {"HSV", {1, 0, 0}, {1, 0, 0}},
        {"Jet", {0, 0, 0.5f}, {0.5f, 0, 0}},
        {"Hot", black, white},
        {"Cool", {0, 1, 1}, {1, 0, 1}},
        {"Spring", {1, 0, 1}, {1, 1, 0}},
        {"Summer", {0, 1, 0}, {1, 1, 0}},
        {"Autumn", {1, 0, 0}, {1, 1, 0}},
        {"Winter", {0, 0, 1}, {0, 1, 0}},
        {"Bone", black, {1, 0, 1}},
    };
    for (const Ends& map : maps) {
        EXPECT_EQ(colormap_color(map.name, 0), map.low) << map.name;
        EXPECT_EQ(colormap_color(map.name, 1), map.high) << map.name;
        const Colormap colormap = build_colormap(map.name);
        ASSERT_EQ(colormap.size(), 64u) << map.name;
        EXPECT_EQ(colormap.front(), map.low) << map.name;
        EXPECT_EQ(colormap.back(), map.high) << map.name;
    }
}

TEST(Colormaps, InteriorValues) {
    EXPECT_EQ(colormap_color("Jet", 0.5f), (Rgb{0.5f, 1, 0.5f}));
    EXPECT_EQ(colormap_color("HSV", 0.5f), (Rgb{0, 1, 1}));
    EXPECT_EQ(colormap_color("Hot", 0.5f), (Rgb{1, 0.5f, 0}));
    EXPECT_EQ(colormap_color("Cool", 0.25f), (Rgb{0.25f, 0.75f, 1}));
    // Within a piece: Jet at s = 2 is half way up the green ramp.
    EXPECT_EQ(colormap_color("Jet", 0.25f), (Rgb{0, 0.5f, 1}));
    EXPECT_EQ(colormap_color("HSV", 0.25f), (Rgb{0.5f, 1, 0}));
}

// Where two pieces meet, both give the same colour, so the map has no jump.
TEST(Colormaps, PiecesMeetAtSharedEnds) {
    const float below = 0.999f;
    const float above = 1.001f;
    const struct {
        const char* name;
        int scale;
    } maps[] = {{"HSV", 6}, {"Jet", 8}, {"Hot", 3}};
    for (const auto& map : maps) {
        for (int end = 1; end < map.scale; ++end) {
            const Rgb left = colormap_color(map.name, end * below / map.scale);
            const Rgb right = colormap_color(map.name, end * above / map.scale);
            for (int channel = 0; channel < 3; ++channel) {
                EXPECT_NEAR(left[channel], right[channel], 0.02) << map.name << " at " << end;
            }
        }
    }
    EXPECT_EQ(colormap_color("Jet", 3.0f / 8), (Rgb{0, 1, 1}));
    EXPECT_EQ(colormap_color("Jet", 5.0f / 8), (Rgb{1, 1, 0}));
    EXPECT_EQ(colormap_color("Hot", 2.0f / 3), (Rgb{1, 1, 0}));
}

TEST(Colormaps, PositionsAreClamped) {
    EXPECT_EQ(colormap_color("Gray", 2), white);
    EXPECT_EQ(colormap_color("Gray", -1), black);
    EXPECT_EQ(colormap_color("Jet", -5), (Rgb{0, 0, 0.5f}));
    EXPECT_EQ(colormap_color("Jet", 7), (Rgb{0.5f, 0, 0}));
}

TEST(Colormaps, UnknownNameIsBlack) {
    EXPECT_EQ(colormap_color("jet", 0.5f), black);
    const Colormap unknown = build_colormap("Rainbow");
    ASSERT_EQ(unknown.size(), 64u);
    for (const Rgb& rgb : unknown)
        EXPECT_EQ(rgb, black);
}

TEST(SetColormap, ReplacesTheCurrentColormap) {
    ZarIdor engine;
    engine.set_colormap("Gray");
    ASSERT_EQ(internals(engine).current_colormap.size(), 64u);
    const float third = 1.0f / 3.0f;
    EXPECT_EQ(internals(engine).current_colormap[21], (Rgb{third, third, third}));
    engine.set_colormap("nothing");
    ASSERT_EQ(internals(engine).current_colormap.size(), 64u);
    EXPECT_EQ(internals(engine).current_colormap[63], black);
}

TEST(SetColormap, NamesTheCurrentSurfaceOnlyInConfiguration) {
    ZarIdor engine;
    internals(engine).surface_list.resize(2);
    internals(engine).current_surface.select(1);

    internals(engine).mode = display_mode::allocation;
    engine.set_colormap("Hot");
    EXPECT_EQ(internals(engine).surface_list[1].colormap_name, "");

    internals(engine).mode = display_mode::configuration;
    engine.set_colormap("Hot");
    EXPECT_EQ(internals(engine).surface_list[1].colormap_name, "Hot");
    EXPECT_EQ(internals(engine).surface_list[0].colormap_name, "");

    // With no current surface the colormap still changes and nothing else is touched.
    internals(engine).current_surface.clear();
    engine.set_colormap("Gray");
    EXPECT_EQ(internals(engine).current_colormap[63], white);
    EXPECT_EQ(internals(engine).surface_list[1].colormap_name, "Hot");
}

} // namespace
} // namespace rizodozad
