// The engine state right after construction, and the handle scheme.
#include <gtest/gtest.h>

#include "rizodozad/core/engine.h"

namespace rizodozad {
namespace {

TEST(State, StartsEmptyWithJetColormapAndListHidden) {
    const ZarIdor engine;
    EXPECT_EQ(engine.debug, 0);
    EXPECT_EQ(engine.debug_mouse, 0);
    EXPECT_EQ(internals(engine).mode, display_mode::allocation);
    EXPECT_EQ(engine.keep_level, 0);
    EXPECT_EQ(engine.pointer_x, 100);
    EXPECT_EQ(engine.pointer_y, 0);
    EXPECT_EQ(internals(engine).selected_axes, -1);
    EXPECT_EQ(engine.window_width, 0);
    EXPECT_EQ(engine.window_height, 0);
    ASSERT_EQ(internals(engine).current_colormap.size(), 64u);
    EXPECT_EQ(internals(engine).current_colormap, build_colormap("Jet"));

    EXPECT_TRUE(internals(engine).figure_list.empty());
    EXPECT_TRUE(internals(engine).layer_list.empty());
    EXPECT_TRUE(internals(engine).axes_list.empty());
    EXPECT_TRUE(internals(engine).line_list.empty());
    EXPECT_TRUE(internals(engine).surface_list.empty());
    EXPECT_TRUE(internals(engine).patch_list.empty());
    EXPECT_TRUE(internals(engine).text_list.empty());
    EXPECT_TRUE(internals(engine).colorbar_list.empty());
    EXPECT_EQ(internals(engine).current_figure.get(), nullptr);
    EXPECT_EQ(internals(engine).current_axes.get(), nullptr);
    EXPECT_EQ(internals(engine).current_line.get(), nullptr);
}

TEST(State, HandlesCarryIndexAndKind) {
    EXPECT_EQ(make_handle(2, kind::axes), 202);
    EXPECT_EQ(make_handle(0, kind::line), 3);
    EXPECT_EQ(make_handle(1, kind::layer), 106);
    EXPECT_EQ(handle_kind(707), kind::patch);
    EXPECT_EQ(handle_index(707), 7);
    EXPECT_EQ(handle_kind(1205), kind::text);
    EXPECT_EQ(handle_index(1205), 12);
}

// The n-th create call of a kind in a pass gets index n, whatever other kinds did meanwhile.
TEST(State, HandlesCountPerKindWithinAPass) {
    ZarIdor engine;
    EXPECT_EQ(engine.create_figure(), 1);
    EXPECT_EQ(engine.create_layer(), 6);
    EXPECT_EQ(internals(engine).last_handle, 2); // the layer's own axes came last
    EXPECT_EQ(engine.create_axes(), 102);
    EXPECT_EQ(engine.create_axes(), 202);
    EXPECT_EQ(engine.create_line(), 3);
    EXPECT_EQ(engine.create_surface(), 4);
    EXPECT_EQ(engine.create_text(), 5);
    EXPECT_EQ(engine.create_patch(), 7);
    EXPECT_EQ(engine.create_layer(), 106);
    EXPECT_EQ(engine.create_line(), 103);
    EXPECT_EQ(internals(engine).last_handle, 103);
}

// Children link downwards by handle: figure -> layers -> axes -> drawables.
TEST(State, AllocationLinksEachRecordUnderItsParent) {
    ZarIdor engine;
    engine.create_figure();
    engine.create_layer();
    engine.create_axes();
    engine.create_line();
    engine.create_surface();
    engine.create_text();
    engine.create_patch();
    engine.create_layer();

    EXPECT_EQ(internals(engine).figure_list[0].children, (std::vector<int>{6, 106}));
    EXPECT_EQ(internals(engine).layer_list[0].children, (std::vector<int>{2, 102}));
    EXPECT_EQ(internals(engine).layer_list[1].children, (std::vector<int>{202}));
    EXPECT_EQ(internals(engine).axes_list[1].children, (std::vector<int>{3, 4, 5, 7}));
    EXPECT_TRUE(internals(engine).axes_list[0].children.empty());
    EXPECT_EQ(internals(engine).surface_list[0].handle, 4);
    EXPECT_EQ(internals(engine).patch_list[0].handle, 7);
    EXPECT_EQ(internals(engine).text_list[0].handle, 5);
}

} // namespace
} // namespace rizodozad
