// Opens the one GLUT window that every test of a GL test binary draws into.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "tests/support/gl_fixture.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        std::fprintf(stderr, "no DISPLAY: GL tests skipped (run them under xvfb-run -a)\n");
        return testsupport::skip_return_code;
    }
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowPosition(0, 0);
    glutInitWindowSize(testsupport::window_width, testsupport::window_height);
    glutCreateWindow("rizodozad test");
    glutDisplayFunc([] {});
    glutMainLoopEvent();
    return RUN_ALL_TESTS();
}
