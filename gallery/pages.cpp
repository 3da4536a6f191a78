#include "gallery/pages.h"

#include <array>

namespace gallery {

namespace {

struct PageEntry {
    const char* name;
    void (*compose)(rizodozad::ZarIdor&);
};

constexpr std::array<PageEntry, page_count> pages{{
    {"lines", compose_lines_page},
    {"log_axes", compose_log_axes_page},
    {"cells", compose_cells_page},
    {"mesh", compose_mesh_page},
    {"patches", compose_patches_page},
    {"texts", compose_texts_page},
    {"legends", compose_legends_page},
}};

bool in_range(int page) { return page >= first_page && page < first_page + page_count; }

} // namespace

void compose_page(rizodozad::ZarIdor& engine, int page) {
    if (in_range(page)) pages[page - first_page].compose(engine);
}

const char* page_name(int page) { return in_range(page) ? pages[page - first_page].name : ""; }

} // namespace gallery
