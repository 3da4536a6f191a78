// A program of your own on the rizodozad engine: one window with two curves.
// 'p' writes the picture to out.eps, 's' the sine's samples to sine.csv, 'q' quits.
#include <GL/freeglut.h>
#include <rizodozad/core/atomic_file.h>
#include <rizodozad/rizodozad.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

class Waves : public rizodozad::ZarIdor {
  public:
    // Describes the whole picture; the engine calls it on every redraw.
    void compose_figure() override {
        layer("waves");
        subplot(1, 1, 1);
        if (rizodozad::Axes* axes = current_axes()) axes->title = "sin(x) and cos(x)";
        fix_y_limits({-1.5, 1.5});

        std::vector<double> x = rizodozad::linspace(0.0, 6.28, 100);
        std::vector<double> sine, cosine;
        for (double v : x) {
            sine.push_back(std::sin(v));
            cosine.push_back(std::cos(v));
        }
        plot(x, sine);
        set("r");
        plot(x, cosine);
        set("b");
        set("- -");
    }
};

Waves waves;

// The samples replace the file whole or not at all, even if the program dies midway.
void write_sine(const char* path) {
    rizodozad::AtomicFile file(path);
    if (file.stream() == nullptr) return;
    for (double v : rizodozad::linspace(0.0, 6.28, 100))
        std::fprintf(file.stream(), "%g,%g\n", v, std::sin(v));
    file.commit();
}

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(800, 400);
    glutCreateWindow("waves");
    glutDisplayFunc([] { waves.display_cycle(); });
    glutReshapeFunc([](int width, int height) {
        waves.window_width = width;
        waves.window_height = height;
    });
    glutKeyboardFunc([](unsigned char key, int, int) {
        if (key == 'p') waves.print_eps();
        if (key == 's') write_sine("sine.csv");
        if (key == 'q') std::exit(EXIT_SUCCESS);
    });
    glutMainLoop();
    return 0;
}
