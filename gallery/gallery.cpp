#include "gallery/gallery.h"

#include <GL/freeglut.h>

namespace gallery {

void Gallery::compose_figure() { compose_page(*this, page_); }

void Gallery::show_page(int page) {
    if (page < first_page || page >= first_page + page_count || page == page_) return;
    page_ = page;
    // Pages differ in their records and in what they set only once at creation
    // (layer names, the look of surfaces), so nothing of the old page may be matched.
    rebuild();
    deselect_axes();
}

int page_for_key(int current, unsigned char key) {
    const int chosen = key - '0';
    if (chosen >= first_page && chosen < first_page + page_count) return chosen;
    return current;
}

int page_for_special_key(int current, int key) {
    const int offset = current - first_page;
    switch (key) {
    case GLUT_KEY_RIGHT:
        return first_page + (offset + 1) % page_count;
    case GLUT_KEY_LEFT:
        return first_page + (offset + page_count - 1) % page_count;
    default:
        return current;
    }
}

} // namespace gallery
