// The pages of the gallery. Each page composes one picture on an engine through
// create calls only and keeps no state, so a page can be drawn, exported or tested
// from any engine object.
#pragma once

#include "rizodozad/rizodozad.h"

namespace gallery {

constexpr int first_page = 1;
constexpr int page_count = 7;

// Composes page `page` (first_page .. page_count); any other number composes nothing.
void compose_page(rizodozad::ZarIdor& engine, int page);

// A short name for each page ("lines", "log_axes", ...), empty for a number out of range.
const char* page_name(int page);

void compose_lines_page(rizodozad::ZarIdor& engine);
void compose_log_axes_page(rizodozad::ZarIdor& engine);
void compose_cells_page(rizodozad::ZarIdor& engine);
void compose_mesh_page(rizodozad::ZarIdor& engine);
void compose_patches_page(rizodozad::ZarIdor& engine);
void compose_texts_page(rizodozad::ZarIdor& engine);
void compose_legends_page(rizodozad::ZarIdor& engine);

} // namespace gallery
