// rizodozad-gallery: one page per capability of the plotting engine, in the tidy
// layout. Digits and the arrow keys choose the page, 'p' writes it to out.eps, 'e' to
// out.pdf, out.svg and out.png, 'q' or Escape quits.
#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>

#include "gallery/gallery.h"

namespace {

constexpr int window_width = 800;
constexpr int window_height = 400;
constexpr const char* window_title = "rizodozad gallery";
constexpr unsigned char key_escape = 27;

gallery::Gallery engine;

void on_display() { engine.display_cycle(); }

void on_reshape(int width, int height) {
    engine.window_width = width;
    engine.window_height = height;
    glutPostRedisplay();
}

void on_mouse(int button, int state, int x, int y) {
    engine.layer_list_click(button, state, x, y);
    engine.axes_click(button, state, x, y);
    engine.display_cycle(); // show the new selection at once
}

// Dragging turns a selected three-dimensional axes.
void on_motion(int x, int y) {
    engine.axes_drag(x, y);
    glutPostRedisplay();
}

// The layer list appears and disappears as the pointer crosses into the left strip.
void on_passive_motion(int x, int y) {
    const bool list_was_shown = engine.layer_list_shown();
    engine.pointer_x = x;
    engine.pointer_y = y;
    if (engine.layer_list_shown() != list_was_shown) glutPostRedisplay();
}

void show(int page) {
    if (page == engine.page()) return;
    engine.show_page(page);
    glutPostRedisplay();
}

// out.pdf, out.svg and out.png beside the EPS of 'p', each reported as it is written.
void export_other_formats() {
    for (const char* path : {"out.pdf", "out.svg", "out.png"}) {
        std::printf("Writing '%s'... ", path);
        std::fflush(stdout);
        std::puts(engine.export_picture(path) ? "Done!" : "failed");
        std::fflush(stdout);
    }
}

void on_keyboard(unsigned char key, int, int) {
    switch (key) {
    case 'p':
        engine.print_eps();
        break;
    case 'e':
        export_other_formats();
        break;
    case 'q':
    case key_escape:
        std::exit(EXIT_SUCCESS);
    default:
        show(gallery::page_for_key(engine.page(), key));
        break;
    }
}

void on_special(int key, int, int) { show(gallery::page_for_special_key(engine.page(), key)); }

} // namespace

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowPosition(0, 0);
    glutInitWindowSize(window_width, window_height);
    glutCreateWindow(window_title);
    engine.tidy_layout = true;

    glutDisplayFunc(on_display);
    glutReshapeFunc(on_reshape);
    glutMouseFunc(on_mouse);
    glutMotionFunc(on_motion);
    glutPassiveMotionFunc(on_passive_motion);
    glutKeyboardFunc(on_keyboard);
    glutSpecialFunc(on_special);

    glutMainLoop();
    return 0;
}
