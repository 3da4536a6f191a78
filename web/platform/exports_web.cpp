// The engine's exports in the browser: WebGL has no feedback mode for GL2PS, and the page
// saves its PNG from the canvas itself, so the face's export calls say they are not
// available here and write nothing. Drawing never mirrors into a page.
#include <GL/gl.h>

#include <cstdio>
#include <utility>

#include "rizodozad/core/engine.h"
#include "rizodozad/core/print_mirror.h"
#include "rizodozad/core/scales.h"

namespace rizodozad {

namespace {

constexpr const char* not_in_browser = "is not available in the browser";

bool refuse(const char* what, const std::string& name) {
    std::fprintf(stderr, "%s '%s' %s\n", what, name.c_str(), not_in_browser);
    return false;
}

} // namespace

//-----------------------------------------------------------------------------
// [SECTION] Picture exports
//-----------------------------------------------------------------------------

bool Engine::export_eps(std::FILE*, const char* file_name) { return refuse("EPS", file_name); }

void Engine::print_eps() { refuse("EPS", "out.eps"); }

bool Engine::export_picture(const std::string& path) { return refuse("Export", path); }

//-----------------------------------------------------------------------------
// [SECTION] GIF recording
//-----------------------------------------------------------------------------

struct GifRecorder::Output {};

GifRecorder::GifRecorder(std::string path, int interval_ms)
    : path_(std::move(path)), interval_ms_(interval_ms) {}

GifRecorder::~GifRecorder() = default;

bool GifRecorder::frame_due(long long) const { return false; }

bool GifRecorder::add_frame(const Frame&, long long) { return refuse("GIF", path_); }

bool GifRecorder::finish() { return refuse("GIF", path_); }

//-----------------------------------------------------------------------------
// [SECTION] Mirrors: no page is ever open, and WebGL draws every line solid
//-----------------------------------------------------------------------------

namespace print_mirror {

bool page_open() { return false; }
void line_width(float) {}
void point_size(float) {}
void stipple(bool) {}
void text(const std::string&) {}

void solid_lines() {}
void stippled_lines(unsigned short) {}

void screen_line_width(float width) {
    glLineWidth(width * static_cast<float>(scales::in_force().line));
}

void screen_point_size(float size) {
    glPointSize(size * static_cast<float>(scales::in_force().line));
}

void set_line_width(float width) { screen_line_width(width); }

std::optional<unsigned short> grid_stipple(const std::string& style) {
    if (style == "-") return std::nullopt;
    if (style == "- -") return dashed_pattern;
    if (style == "-.") return dash_dot_pattern;
    return dotted_pattern;
}

} // namespace print_mirror

} // namespace rizodozad
