// Text objects: a black bitmap string anchored at a point in the axes' data coordinates.
#include <GL/freeglut.h>
#include <GL/gl.h>

#include <cstdio>

#include "rizodozad/core/print_mirror.h"
#include "rizodozad/rizodozad.h"

namespace rizodozad {

void ZarIdor::display_text() {
    const Text* text = current_text.get();
    if (text == nullptr) return;
    if (debug != 0) std::printf("display:%4d Text\n", text->handle);

    glColor3f(0, 0, 0);
    glRasterPos2f(data_to_unit_x(text->position[0]), data_to_unit_y(text->position[1]));
    print_mirror::text(text->text);
    // Bytes the font lacks are passed on too: GLUT skips them.
    for (char c : text->text)
        glutBitmapCharacter(GLUT_BITMAP_HELVETICA_12, c);
}

} // namespace rizodozad
