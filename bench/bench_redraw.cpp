// One redraw of the application's picture after a whole run, against the floor of a
// bare frame that draws the same segments and characters with plain OpenGL; and an
// EPS export of that picture into memory. Needs a display (run under xvfb-run -a).
#include <GL/freeglut.h>
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <vector>

#include "app/fdtd.h"

namespace {

constexpr int window_width = 800;
constexpr int window_height = 400;
constexpr int full_run_steps = step_limit + 1;
constexpr int feedback_floats = 1 << 22;
constexpr int floats_per_vertex = 3; // GL_3D

// What one frame of the application draws, in window pixels.
struct FrameContents {
    std::vector<GLfloat> segments;   // x0 y0 x1 y1 per segment
    std::vector<GLfloat> characters; // x y per character
};

// The application after a whole run, drawn once so that its records exist.
class FinishedRun {
  public:
    FinishedRun() {
        app.window_width = window_width;
        app.window_height = window_height;
        app.init_fields(grid_cell_size);
        app.max_steps = step_limit;
        app.running = 1;
        std::FILE* out = std::freopen("/dev/null", "w", stdout);
        for (int k = 0; k < full_run_steps; ++k)
            app.step();
        app.display_cycle();
        valid = out != nullptr;
    }
    FDTD app;
    bool valid = false;
};

FinishedRun& finished_run() {
    static FinishedRun run;
    return run;
}

// Records the engine's frame through feedback mode.
FrameContents capture_frame(FDTD& app) {
    std::vector<GLfloat> buffer(feedback_floats);
    glFeedbackBuffer(feedback_floats, GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    app.display_cycle();
    const GLint used = glRenderMode(GL_RENDER);
    FrameContents frame;
    for (GLint i = 0; i < used;) {
        const auto token = static_cast<GLenum>(buffer[i++]);
        if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            frame.segments.insert(frame.segments.end(),
                                  {buffer[i], buffer[i + 1], buffer[i + 3], buffer[i + 4]});
            i += 2 * floats_per_vertex;
        } else if (token == GL_BITMAP_TOKEN) {
            frame.characters.insert(frame.characters.end(), {buffer[i], buffer[i + 1]});
            i += floats_per_vertex;
        } else if (token == GL_POINT_TOKEN || token == GL_DRAW_PIXEL_TOKEN ||
                   token == GL_COPY_PIXEL_TOKEN) {
            i += floats_per_vertex;
        } else if (token == GL_POLYGON_TOKEN) {
            i += 1 + static_cast<GLint>(buffer[i]) * floats_per_vertex;
        } else if (token == GL_PASS_THROUGH_TOKEN) {
            i += 1;
        } else {
            break;
        }
    }
    return frame;
}

// The floor: the same segments and characters, without any engine in between.
void draw_bare_frame(const FrameContents& frame) {
    glClearColor(1, 1, 1, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glViewport(0, 0, window_width, window_height);
    glLoadIdentity();
    glOrtho(0, window_width, 0, window_height, -1, 1);
    glColor3f(0, 0, 0);
    glBegin(GL_LINES);
    for (std::size_t i = 0; i + 3 < frame.segments.size(); i += 4) {
        glVertex2f(frame.segments[i], frame.segments[i + 1]);
        glVertex2f(frame.segments[i + 2], frame.segments[i + 3]);
    }
    glEnd();
    for (std::size_t i = 0; i + 1 < frame.characters.size(); i += 2) {
        glRasterPos2f(frame.characters[i], frame.characters[i + 1]);
        glutBitmapCharacter(GLUT_BITMAP_HELVETICA_12, '0');
    }
    glFlush();
    glutSwapBuffers();
}

void BM_Redraw(benchmark::State& state) {
    FDTD& app = finished_run().app;
    for (auto _ : state) {
        app.display_cycle();
        glFinish();
    }
}

void BM_BareFrame(benchmark::State& state) {
    const FrameContents frame = capture_frame(finished_run().app);
    state.counters["segments"] = static_cast<double>(frame.segments.size() / 4);
    state.counters["characters"] = static_cast<double>(frame.characters.size() / 2);
    for (auto _ : state) {
        draw_bare_frame(frame);
        glFinish();
    }
}

void BM_ExportToMemory(benchmark::State& state) {
    FDTD& app = finished_run().app;
    for (auto _ : state) {
        char* data = nullptr;
        std::size_t size = 0;
        std::FILE* stream = open_memstream(&data, &size);
        if (!app.export_eps(stream, "out.eps")) state.SkipWithError("export failed");
        std::fclose(stream);
        std::free(data);
    }
}

BENCHMARK(BM_Redraw)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BareFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ExportToMemory)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        std::fprintf(stderr, "no DISPLAY: redraw benchmarks skipped (run under xvfb-run -a)\n");
        return 0;
    }
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowPosition(0, 0);
    glutInitWindowSize(window_width, window_height);
    glutCreateWindow("1D FDTD Simulation");
    glutDisplayFunc([] {});
    glutMainLoopEvent();
    if (!finished_run().valid) return 1;
    // The run's timing lines went to /dev/null with standard output; report on standard error.
    benchmark::ConsoleReporter reporter;
    reporter.SetOutputStream(&std::cerr);
    reporter.SetErrorStream(&std::cerr);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
