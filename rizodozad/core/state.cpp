// Construction of the engine state and the bookkeeping shared by the passes.
#include <cstdio>

#include "rizodozad/core/glyph_atlas.h"
#include "rizodozad/rizodozad.h"

namespace rizodozad {

ZarIdor::ZarIdor() : glyph_atlas_(std::make_unique<GlyphAtlas>()) {
    set_colormap("Jet");
    if (debug) {
        std::puts("init()...done");
        std::fflush(stdout);
    }
}

// The lists own every record by value; the glyph atlas releases its texture itself.
ZarIdor::~ZarIdor() = default;

// The engine alone describes an empty picture; applications override this.
void ZarIdor::compose_figure() {}

void ZarIdor::reset_counters() {
    figure_counter = 0;
    layer_counter = 0;
    axes_counter = 0;
    line_counter = 0;
    surface_counter = 0;
    patch_counter = 0;
    text_counter = 0;
    colorbar_counter = 0;
}

// At the start of a pass no record has been matched yet; data operations that
// find no current record then store nothing instead of writing into a stale one.
void ZarIdor::forget_current_records() {
    current_figure.clear();
    current_layer.clear();
    current_axes.clear();
    current_line.clear();
    current_surface.clear();
    current_patch.clear();
    current_text.clear();
}

} // namespace rizodozad
