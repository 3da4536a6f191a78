#include "bench/bench_window.h"

#include <GL/freeglut.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace benchsupport {

WindowStart open_benchmark_window(int* argc, char** argv, const char* what, int width, int height,
                                  const char* title) {
    benchmark::Initialize(argc, argv);
    if (benchmark::ReportUnrecognizedArguments(*argc, argv)) return WindowStart::bad_args;
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        std::fprintf(stderr, "no DISPLAY: %s benchmarks skipped (run under xvfb-run -a)\n", what);
        return WindowStart::no_display;
    }
    glutInit(argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowPosition(0, 0);
    glutInitWindowSize(width, height);
    glutCreateWindow(title);
    glutDisplayFunc([] {});
    glutMainLoopEvent();
    return WindowStart::ready;
}

} // namespace benchsupport
