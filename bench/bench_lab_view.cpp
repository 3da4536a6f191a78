// Frames of the lab's live view: steps of the run plus one redraw, at 1, 10 and 100 steps
// per frame, for the slab scenario and for a 1e5-cell line whose probes already hold
// 20,000 steps of history; beside them the redraw alone, its floor (the same segments and
// characters drawn with plain OpenGL, see frame_floor.h) and the steps alone. Needs a
// display (run under xvfb-run -a). Frames per second are the "frames/s" counter; the
// window's own cap of 60 per second is not applied here.
//
// BM_FrameAtScale asks whether a frame's cost grows with the line: one step per frame on
// 1e3 cells, on 1e6 cells, and on 1e3 cells whose probes hold 1e6 steps of history. The
// view keeps its cap of 60 frames a second while a frame takes under 1/60 s.
#include <GL/freeglut.h>
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "bench/bench_window.h"
#include "bench/frame_floor.h"
#include "lab/scenario/scenario_reader.h"
#include "lab/view/picture.h"
#include "lab/view/session.h"
#include "lab/view/window.h"

namespace {

using lab::view::Command;
using lab::view::Picture;
using lab::view::Session;

constexpr int large_cells = 100'000;
constexpr int large_history_steps = 20'000;
// Far beyond what a benchmark reaches, so the large run never ends while measured.
constexpr int large_total_steps = 10'000'000;

constexpr int small_cells = 1'000;
constexpr int wide_cells = 1'000'000;
constexpr int long_history_steps = 1'000'000;

lab::Scenario line_of(int cells) {
    lab::Scenario s;
    s.grid = {cells, 1e-4, 1.0, large_total_steps, false};
    s.boundary = {lab::Boundary::abc, lab::Boundary::abc, 20};
    s.source.cell = cells / 10;
    s.probes = {{"near", cells / 5}, {"far", cells / 2}};
    return s;
}

// A session and its picture, run ahead to where the benchmark starts.
struct LiveView {
    explicit LiveView(const lab::Scenario& s, int steps_ahead) : session(s), picture(session) {
        picture.window_width = lab::view::window_width_px;
        picture.window_height = lab::view::window_height_px;
        session.set_steps_per_frame(steps_ahead);
        session.command(Command::run_pause);
        while (session.run().step_count() < steps_ahead)
            session.advance_frame();
        picture.display_cycle();
    }
    Session session;
    Picture picture;
};

enum Which { slab = 0, large = 1, small = 2, wide = 3, long_history = 4, views_kept = 5 };

std::unique_ptr<LiveView> make_view(Which which) {
    switch (which) {
    case slab:
        return std::make_unique<LiveView>(lab::load_scenario(LAB_SCENARIOS "/slab.toml"), 0);
    case large:
        return std::make_unique<LiveView>(line_of(large_cells), large_history_steps);
    case small:
        return std::make_unique<LiveView>(line_of(small_cells), 1);
    case wide:
        return std::make_unique<LiveView>(line_of(wide_cells), 1);
    default:
        return std::make_unique<LiveView>(line_of(small_cells), long_history_steps);
    }
}

LiveView& view(Which which) {
    static std::unique_ptr<LiveView> views[views_kept];
    if (!views[which]) views[which] = make_view(which);
    return *views[which];
}

// Keeps the run going: a finished one starts again (outside the measured time).
void keep_running(benchmark::State& state, Session& session) {
    if (session.running()) return;
    state.PauseTiming();
    session.command(Command::reset);
    session.command(Command::run_pause);
    state.ResumeTiming();
}

// Frames of the live view at steps_per_frame steps each, as the window's idle turn makes
// them; a finished run starts again.
void time_frames(benchmark::State& state, LiveView& v, int steps_per_frame) {
    v.session.set_steps_per_frame(steps_per_frame);
    for (auto _ : state) {
        keep_running(state, v.session);
        v.session.advance_frame();
        v.picture.display_cycle();
        glFinish();
    }
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_Frame(benchmark::State& state) {
    time_frames(state, view(static_cast<Which>(state.range(0))), static_cast<int>(state.range(1)));
}

// One step per frame, the view's slowest pace, where the redraw weighs most.
void BM_FrameAtScale(benchmark::State& state) {
    time_frames(state, view(static_cast<Which>(state.range(0))), 1);
}

void BM_Steps(benchmark::State& state) {
    LiveView& v = view(static_cast<Which>(state.range(0)));
    v.session.set_steps_per_frame(static_cast<int>(state.range(1)));
    for (auto _ : state) {
        keep_running(state, v.session);
        v.session.advance_frame();
    }
}

void BM_Redraw(benchmark::State& state) {
    LiveView& v = view(static_cast<Which>(state.range(0)));
    for (auto _ : state) {
        v.picture.display_cycle();
        glFinish();
    }
}

void BM_RedrawFloor(benchmark::State& state) {
    LiveView& v = view(static_cast<Which>(state.range(0)));
    const benchsupport::FrameContents frame = benchsupport::capture_frame_contents(v.picture);
    const benchsupport::GlyphQuads quads = benchsupport::glyph_quads(frame);
    GLuint texture = benchsupport::make_glyph_texture();
    for (auto _ : state) {
        benchsupport::draw_true_floor(frame, quads, texture, lab::view::window_width_px,
                                      lab::view::window_height_px);
        glFinish();
    }
    glDeleteTextures(1, &texture);
    state.counters["segments"] = static_cast<double>(frame.segments.size() / 4);
    state.counters["characters"] = static_cast<double>(frame.characters.size() / 2);
}

void per_scenario_and_steps(benchmark::internal::Benchmark* b) {
    b->ArgNames({"large", "steps"});
    for (int which : {slab, large})
        for (int steps : {1, 10, 100})
            b->Args({which, steps});
}

BENCHMARK(BM_Frame)->Apply(per_scenario_and_steps)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameAtScale)
    ->ArgName("line")
    ->Arg(small)
    ->Arg(wide)
    ->Arg(long_history)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Steps)
    ->ArgNames({"line", "steps"})
    ->Args({small, 1})
    ->Args({wide, 1})
    ->Args({long_history, 1})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Redraw)
    ->ArgName("line")
    ->Arg(small)
    ->Arg(wide)
    ->Arg(long_history)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Steps)->Apply(per_scenario_and_steps)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Redraw)->ArgName("large")->Arg(slab)->Arg(large)->UseRealTime()->Unit(
    benchmark::kMillisecond);
BENCHMARK(BM_RedrawFloor)
    ->ArgName("large")
    ->Arg(slab)
    ->Arg(large)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    const auto start =
        benchsupport::open_benchmark_window(&argc, argv, "lab view", lab::view::window_width_px,
                                            lab::view::window_height_px, lab::view::window_title);
    if (start != benchsupport::WindowStart::ready)
        return start == benchsupport::WindowStart::bad_args ? 1 : 0;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
