// fdtd1d: the window, its callbacks and the one application object they drive.
#include <GL/freeglut.h>

#include "app/events.h"
#include "app/fdtd.h"
#include "app/options.h"
#include "rizodozad/core/standard_descriptors.h"

namespace {

constexpr int window_x = 0;
constexpr int window_y = 0;
constexpr int window_width = 800;
constexpr int window_height = 400;
constexpr const char* window_title = "1D FDTD Simulation";

FDTD simulation;

void on_display() { handle_display(simulation); }
void on_reshape(int width, int height) { handle_reshape(simulation, width, height); }
void on_idle() { handle_idle(simulation); }
void on_motion(int x, int y) { handle_motion(simulation, x, y); }
void on_mouse(int button, int state, int x, int y) {
    handle_mouse(simulation, button, state, x, y);
}
void on_passive_motion(int x, int y) { handle_passive_motion(simulation, x, y); }
void on_keyboard(unsigned char key, int x, int y) { handle_keyboard(simulation, key, x, y); }

} // namespace

int main(int argc, char** argv) {
    // Step times printed to a closed descriptor 2 would go into the X protocol stream.
    rizodozad::open_closed_standard_descriptors();
    int exit_code = 0;
    const std::optional<Options> options = parse_options(argc, argv, exit_code);
    if (!options) return exit_code;
    glutInit(&argc, argv);
    simulation.init_fields(grid_cell_size);
    simulation.tidy_layout = options->tidy;
    simulation.max_steps = step_limit;
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowPosition(window_x, window_y);
    glutInitWindowSize(window_width, window_height);
    glutCreateWindow(window_title);

    glutDisplayFunc(on_display);
    glutReshapeFunc(on_reshape);
    glutIdleFunc(on_idle);
    glutMotionFunc(on_motion);
    glutMouseFunc(on_mouse);
    glutPassiveMotionFunc(on_passive_motion);
    glutKeyboardFunc(on_keyboard);

    glutMainLoop();
    return 0;
}
