// The gallery without a window: keys to pages, and what the pages compose.
#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include <set>
#include <string>

#include "gallery/gallery.h"
#include "rizodozad/core/engine.h"

namespace {

using gallery::first_page;
using gallery::page_count;
constexpr int last_page = first_page + page_count - 1;

// The records a page makes in an allocation pass, built as the display cycle would
// before it composes, without drawing anything.
void allocate(gallery::Gallery& engine) {
    engine.begin_pass(rizodozad::display_mode::allocation);
    engine.compose_figure();
}

} // namespace

TEST(GalleryKeys, DigitsChooseAPageAndOtherKeysKeepTheCurrentOne) {
    for (int page = first_page; page <= last_page; ++page)
        EXPECT_EQ(gallery::page_for_key(3, static_cast<unsigned char>('0' + page)), page);
    EXPECT_EQ(gallery::page_for_key(3, '0'), 3);
    EXPECT_EQ(gallery::page_for_key(3, static_cast<unsigned char>('0' + last_page + 1)), 3);
    EXPECT_EQ(gallery::page_for_key(3, 'a'), 3);
    EXPECT_EQ(gallery::page_for_key(3, ' '), 3);
}

TEST(GalleryKeys, ArrowsStepThroughThePagesAndWrapAround) {
    EXPECT_EQ(gallery::page_for_special_key(first_page, GLUT_KEY_RIGHT), first_page + 1);
    EXPECT_EQ(gallery::page_for_special_key(last_page, GLUT_KEY_RIGHT), first_page);
    EXPECT_EQ(gallery::page_for_special_key(first_page, GLUT_KEY_LEFT), last_page);
    EXPECT_EQ(gallery::page_for_special_key(last_page, GLUT_KEY_LEFT), last_page - 1);
    EXPECT_EQ(gallery::page_for_special_key(2, GLUT_KEY_UP), 2);
    EXPECT_EQ(gallery::page_for_special_key(2, GLUT_KEY_F1), 2);
}

TEST(GalleryPages, ShowPageIgnoresNumbersOutsideTheGallery) {
    gallery::Gallery engine;
    engine.show_page(last_page);
    EXPECT_EQ(engine.page(), last_page);
    engine.show_page(0);
    engine.show_page(last_page + 1);
    EXPECT_EQ(engine.page(), last_page);
}

// Unnamed layers would leave empty rows in the layer list; names also become file names.
TEST(GalleryPages, EveryPageHasADistinctNameAndNamesAllItsLayers) {
    std::set<std::string> names;
    for (int page = first_page; page <= last_page; ++page) {
        names.insert(gallery::page_name(page));
        gallery::Gallery engine;
        engine.show_page(page);
        allocate(engine);
        ASSERT_GT(internals(engine).layer_list.size(), 1u) << "page " << page;
        // The first layer is the engine's own, made before the page composes.
        for (std::size_t i = 1; i < internals(engine).layer_list.size(); ++i)
            EXPECT_FALSE(internals(engine).layer_list[i].name.empty())
                << "page " << page << " layer " << i;
        EXPECT_GT(internals(engine).line_list.size() + internals(engine).surface_list.size() +
                      internals(engine).patch_list.size() + internals(engine).text_list.size(),
                  0u)
            << "page " << page;
    }
    EXPECT_EQ(names.size(), static_cast<std::size_t>(page_count));
    EXPECT_EQ(names.count(""), 0u);
    EXPECT_STREQ(gallery::page_name(0), "");
    EXPECT_STREQ(gallery::page_name(last_page + 1), "");
}

TEST(GalleryPages, ANumberOutsideTheGalleryComposesNothing) {
    gallery::Gallery engine;
    engine.begin_pass(rizodozad::display_mode::allocation);
    const std::size_t axes_before = internals(engine).axes_list.size();
    gallery::compose_page(engine, 0);
    gallery::compose_page(engine, last_page + 1);
    EXPECT_EQ(internals(engine).axes_list.size(), axes_before);
    EXPECT_EQ(internals(engine).layer_list.size(), 1u);
    EXPECT_TRUE(internals(engine).line_list.empty());
}
