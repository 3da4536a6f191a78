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
#include <iostream>
#include <vector>

#include "app/fdtd.h"

namespace {

constexpr int window_width = 800;
constexpr int window_height = 400;
constexpr int full_run_steps = step_limit + 1;
constexpr int feedback_floats = 1 << 22;
constexpr int floats_per_vertex = 3; // GL_3D
// The floor's glyph: one character cell of the 12-pixel font, as a luminance-alpha texture.
constexpr int glyph_width = 7;
constexpr int glyph_height = 12;
constexpr int glyph_texture_size = 16;

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
// [SECTION] The true floor: vertex arrays and one glyph texture
//-----------------------------------------------------------------------------

// A texture holding a box-shaped glyph: what it shows does not change the cost of a quad.
GLuint make_glyph_texture() {
    std::vector<GLubyte> alpha(glyph_texture_size * glyph_texture_size, 0);
    for (int row = 1; row < glyph_height - 1; ++row)
        for (int column = 1; column < glyph_width - 1; ++column)
            alpha[row * glyph_texture_size + column] = 255;
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, glyph_texture_size, glyph_texture_size, 0, GL_ALPHA,
                 GL_UNSIGNED_BYTE, alpha.data());
    return texture;
}

// Quad corners and texture coordinates of every character, in window pixels.
struct GlyphQuads {
    std::vector<GLfloat> corners;
    std::vector<GLfloat> texture_coordinates;
};

GlyphQuads glyph_quads(const FrameContents& frame) {
    constexpr GLfloat u = static_cast<GLfloat>(glyph_width) / glyph_texture_size;
    constexpr GLfloat v = static_cast<GLfloat>(glyph_height) / glyph_texture_size;
    GlyphQuads quads;
    for (std::size_t i = 0; i + 1 < frame.characters.size(); i += 2) {
        const GLfloat x = frame.characters[i];
        const GLfloat y = frame.characters[i + 1];
        quads.corners.insert(quads.corners.end(), {x, y, x + glyph_width, y, x + glyph_width,
                                                   y + glyph_height, x, y + glyph_height});
        quads.texture_coordinates.insert(quads.texture_coordinates.end(), {0, 0, u, 0, u, v, 0, v});
    }
    return quads;
}

// No depth buffer and no stipple: the picture needs neither.
void draw_true_floor(const FrameContents& frame, const GlyphQuads& quads, GLuint texture) {
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LINE_STIPPLE);
    glLineWidth(1);
    glClearColor(1, 1, 1, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glViewport(0, 0, window_width, window_height);
    glLoadIdentity();
    glOrtho(0, window_width, 0, window_height, -1, 1);
    glColor3f(0, 0, 0);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, frame.segments.data());
    glDrawArrays(GL_LINES, 0, static_cast<GLsizei>(frame.segments.size() / 2));

    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.5f);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, quads.corners.data());
    glTexCoordPointer(2, GL_FLOAT, 0, quads.texture_coordinates.data());
    glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(quads.corners.size() / 2));
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_TEXTURE_2D);
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

void count_contents(benchmark::State& state, const FrameContents& frame) {
    state.counters["segments"] = static_cast<double>(frame.segments.size() / 4);
    state.counters["characters"] = static_cast<double>(frame.characters.size() / 2);
}

void BM_BitmapTextFrame(benchmark::State& state) {
    const FrameContents frame = capture_frame(finished_run().app);
    count_contents(state, frame);
    for (auto _ : state) {
        draw_bitmap_frame(frame);
        glFinish();
    }
}

void BM_TrueFloor(benchmark::State& state) {
    const FrameContents frame = capture_frame(finished_run().app);
    count_contents(state, frame);
    const GlyphQuads quads = glyph_quads(frame);
    GLuint texture = make_glyph_texture();
    for (auto _ : state) {
        draw_true_floor(frame, quads, texture);
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
BENCHMARK(BM_TrueFloor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BitmapTextFrame)->Unit(benchmark::kMicrosecond);
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
