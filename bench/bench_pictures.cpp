// What pictures cost: the fdtd1d picture after a whole run exported in each format into
// memory, its pixels read back, and an animated GIF's per-frame work (palette and
// encoding). Needs a display (run under xvfb-run -a).
//
//   bench_pictures --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true
#include <GL/freeglut.h>
#include <benchmark/benchmark.h>
#include <gl2ps.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/fdtd.h"
#include "bench/bench_window.h"
#include "bench/stderr_report.h"
#include "rizodozad/core/engine.h"
#include "rizodozad/core/export_eps.h"
#include "rizodozad/core/gif_writer.h"
#include "rizodozad/core/pictures.h"
#include "rizodozad/core/png_writer.h"

namespace {

constexpr int window_width = 800;
constexpr int window_height = 400;
constexpr int full_run_steps = step_limit + 1;

FDTD& finished_run() {
    static FDTD app;
    static const bool ready = [] {
        app.window_width = window_width;
        app.window_height = window_height;
        app.init_fields(grid_cell_size);
        app.max_steps = step_limit;
        app.running = 1;
        for (int k = 0; k < full_run_steps; ++k)
            app.step();
        app.display_cycle();
        return true;
    }();
    (void)ready;
    return app;
}

// A stream into memory, thrown away after each write.
struct MemoryStream {
    char* data = nullptr;
    std::size_t size = 0;
    std::FILE* stream = open_memstream(&data, &size);
    ~MemoryStream() {
        std::fclose(stream);
        std::free(data);
    }
};

void BM_ExportVector(benchmark::State& state) {
    const int format = static_cast<int>(state.range(0));
    for (auto _ : state) {
        MemoryStream memory;
        if (!rizodozad::eps::export_page(rizodozad::internals(finished_run()), memory.stream,
                                         "bench", rizodozad::eps::BufferBudget{}, format))
            state.SkipWithError("export failed");
    }
    state.SetLabel(gl2psGetFormatDescription(format));
}

void BM_CapturePicture(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(finished_run().capture_picture());
}

void BM_ExportPng(benchmark::State& state) {
    for (auto _ : state) {
        MemoryStream memory;
        if (!rizodozad::png::write_frame(memory.stream, "bench", finished_run().capture_picture()))
            state.SkipWithError("export failed");
    }
}

// The engine's picture has a handful of colours: the exact palette.
void BM_GifPaletteExact(benchmark::State& state) {
    const rizodozad::Frame frame = finished_run().capture_picture();
    for (auto _ : state)
        benchmark::DoNotOptimize(rizodozad::index_colours(frame));
}

// Every pixel a different colour: the median cut.
void BM_GifPaletteMedianCut(benchmark::State& state) {
    rizodozad::Frame frame{window_width, window_height, {}};
    for (int y = 0; y < window_height; ++y)
        for (int x = 0; x < window_width; ++x)
            frame.rgb.insert(frame.rgb.end(),
                             {std::uint8_t(x), std::uint8_t(y), std::uint8_t(x ^ y)});
    for (auto _ : state)
        benchmark::DoNotOptimize(rizodozad::index_colours(frame));
}

void BM_GifEncodeFrame(benchmark::State& state) {
    const rizodozad::IndexedFrame frame =
        rizodozad::index_colours(finished_run().capture_picture());
    constexpr int delay_cs = 10;
    for (auto _ : state) {
        MemoryStream memory;
        rizodozad::gif::AnimationWriter writer(memory.stream, "bench");
        if (!writer.put_frame(frame, delay_cs) || !writer.close())
            state.SkipWithError("encoding failed");
    }
}

BENCHMARK(BM_ExportVector)
    ->Arg(GL2PS_EPS)
    ->Arg(GL2PS_PDF)
    ->Arg(GL2PS_SVG)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CapturePicture)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ExportPng)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GifPaletteExact)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GifPaletteMedianCut)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GifEncodeFrame)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    const auto start = benchsupport::open_benchmark_window(&argc, argv, "picture", window_width,
                                                           window_height, "1D FDTD Simulation");
    if (start != benchsupport::WindowStart::ready)
        return start == benchsupport::WindowStart::bad_args ? 1 : 0;
    // The run prints a line per step on standard output; the report goes to standard error.
    if (std::freopen("/dev/null", "w", stdout) == nullptr) return 1;
    return benchsupport::run_benchmarks_reporting_on_stderr();
}
