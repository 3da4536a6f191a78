// A program of your own on the rizodozad engine: one window with two curves.
// 'p' writes the picture to out.eps, 'q' quits.
#include <GL/freeglut.h>
#include <rizodozad/rizodozad.h>

#include <cmath>
#include <cstdlib>
#include <vector>

class Waves : public rizodozad::ZarIdor {
  public:
    // Describes the whole picture; the engine calls it on every redraw.
    void compose_figure() override {
        layer("waves");
        subplot(1, 1, 1);
        if (rizodozad::Axes* axes = current_axes.get()) axes->title = "sin(x) and cos(x)";

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
        if (key == 'q') std::exit(EXIT_SUCCESS);
    });
    glutMainLoop();
    return 0;
}
