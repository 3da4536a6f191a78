// Construction of the engine state and the bookkeeping shared by the passes.
#include <cstdio>

#include "rizodozad/core/engine.h"
#include "rizodozad/core/glyph_atlas.h"

namespace rizodozad {

Engine::Engine(ZarIdor& application)
    : app(application), glyph_atlas_(std::make_unique<GlyphAtlas>()) {
    set_colormap("Jet");
    if (app.debug) {
        std::puts("init()...done");
        std::fflush(stdout);
    }
}

// The lists own every record by value; the glyph atlas releases its texture itself.
Engine::~Engine() = default;

void Engine::reset_counters() {
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
void Engine::forget_current_records() {
    current_figure.clear();
    current_layer.clear();
    current_axes.clear();
    current_line.clear();
    current_surface.clear();
    current_patch.clear();
    current_text.clear();
}

} // namespace rizodozad
