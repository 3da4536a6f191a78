// One redraw of the application's picture after a whole run, against two frames that
// draw the same segments and characters with plain OpenGL and no engine: the bitmap
// frame writes each character with glutBitmapCharacter, as the engine once did; the
// true floor draws the segments from one vertex array and each character as a
// textured quad of one glyph texture, the cheapest way found here. Also an EPS export
// of that picture into memory. Needs a display (run under xvfb-run -a).
//
// Interleave the runs so that a busy machine weighs on all alike:
//   bench_redraw --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true
#include <GL/freeglut.h>
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/fdtd.h"
#include "bench/bench_window.h"
#include "bench/frame_floor.h"
#include "bench/stderr_report.h"

using namespace benchsupport;

namespace {

constexpr int window_width = 800;
constexpr int window_height = 400;
constexpr int full_run_steps = step_limit + 1;
// The application after a whole run, drawn once so that its records exist.
class FinishedRun {
  public:
    explicit FinishedRun(bool tidy = false) {
        app.tidy_layout = tidy;
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

// The same run drawn in the tidy layout (fdtd1d --tidy).
FinishedRun& finished_tidy_run() {
    static FinishedRun run(true);
    return run;
}

// The same segments and characters, without any engine in between, text in bitmaps.
void draw_bitmap_frame(const FrameContents& frame) {
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

//-----------------------------------------------------------------------------
// [SECTION] Benchmarks
//-----------------------------------------------------------------------------

void BM_Redraw(benchmark::State& state) {
    FDTD& app = finished_run().app;
    for (auto _ : state) {
        app.display_cycle();
        glFinish();
    }
}

// The tidy layout plans every axes in each configuration pass and draws legends.
void BM_RedrawTidy(benchmark::State& state) {
    FDTD& app = finished_tidy_run().app;
    for (auto _ : state) {
        app.display_cycle();
        glFinish();
    }
}

void count_contents(benchmark::State& state, const FrameContents& frame) {
    state.counters["segments"] = static_cast<double>(frame.segments.size() / 4);
    state.counters["characters"] = static_cast<double>(frame.characters.size() / 2);
}

void BM_BitmapTextFrame(benchmark::State& state) {
    const FrameContents frame = capture_frame_contents(finished_run().app);
    count_contents(state, frame);
    for (auto _ : state) {
        draw_bitmap_frame(frame);
        glFinish();
    }
}

void BM_TrueFloor(benchmark::State& state) {
    const FrameContents frame = capture_frame_contents(finished_run().app);
    count_contents(state, frame);
    const GlyphQuads quads = glyph_quads(frame);
    GLuint texture = make_glyph_texture();
    for (auto _ : state) {
        draw_true_floor(frame, quads, texture, window_width, window_height);
        glFinish();
    }
    glDeleteTextures(1, &texture);
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
BENCHMARK(BM_RedrawTidy)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TrueFloor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BitmapTextFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ExportToMemory)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    const auto start = benchsupport::open_benchmark_window(&argc, argv, "redraw", window_width,
                                                           window_height, "1D FDTD Simulation");
    if (start != benchsupport::WindowStart::ready)
        return start == benchsupport::WindowStart::bad_args ? 1 : 0;
    if (!finished_run().valid) return 1;
    // The run's timing lines went to /dev/null with standard output; report on standard error.
    return benchsupport::run_benchmarks_reporting_on_stderr();
}
