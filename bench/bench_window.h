// The window a drawing benchmark needs: benchmark arguments read, a display checked, one
// GLUT window of the given size created and shown. Shared by the GL benchmarks.
#pragma once

namespace benchsupport {

enum class WindowStart {
    ready,      // the window is current; run the benchmarks
    no_display, // nothing to draw on: the caller exits 0, having said so
    bad_args,   // unrecognised benchmark arguments: the caller exits 1
};

// `what` names the benchmarks in the message printed when there is no display.
WindowStart open_benchmark_window(int* argc, char** argv, const char* what, int width, int height,
                                  const char* title);

} // namespace benchsupport
