// How the engine scales with the data: one line of N points (redraw, EPS export into
// memory with its size and the resident memory it needs), and contour plots of n x n
// grids with ten levels (redraw with the data unchanged, and with a value changed on
// every pass). Needs a display (run under
// xvfb-run -a). The export counters:
//   eps_kB          size of the EPS text
//   rss_before_MB   resident memory just before the export
//   rss_peak_MB     the highest resident memory during the export
//   rss_ratio       rss_peak_MB / rss_before_MB
#include <GL/freeglut.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "bench/bench_window.h"
#include "rizodozad/core/column_reduction.h"
#include "rizodozad/rizodozad.h"

namespace {

constexpr int window_width = 800;
constexpr int window_height = 400;
constexpr double pi = 3.141592653589793;
constexpr double kilobyte = 1024.0;
constexpr int contour_levels = 10;

//-----------------------------------------------------------------------------
// [SECTION] Resident memory (Linux)
//-----------------------------------------------------------------------------

// A field of /proc/self/status in kB ("VmRSS", "VmHWM"), 0 when it cannot be read.
double status_kilobytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.compare(0, field.size() + 1, field + ":") == 0)
            return std::atof(line.c_str() + field.size() + 1);
    }
    return 0;
}

// Lowers the peak (VmHWM) to the current resident memory, so the next peak is the export's.
void reset_peak_memory() {
    std::ofstream clear_refs("/proc/self/clear_refs");
    clear_refs << "5";
}

//-----------------------------------------------------------------------------
// [SECTION] Pictures
//-----------------------------------------------------------------------------

// One noisy signal, as a long recorded history looks: five slow waves and a fast ripple
// whose phase wanders from point to point, so every pixel column holds a spread of values.
class OneLine : public rizodozad::ZarIdor {
  public:
    explicit OneLine(std::size_t n) : x(n), y(n) {
        for (std::size_t i = 0; i < n; ++i) {
            const double t = static_cast<double>(i) / static_cast<double>(n);
            x[i] = static_cast<double>(i);
            y[i] = std::sin(2 * pi * 5 * t) + 0.3 * std::sin(static_cast<double>(i) * 1.7);
        }
        window_width = ::window_width;
        window_height = ::window_height;
    }
    void compose_figure() override {
        subplot(1, 1, 1);
        plot(x, y);
    }
    std::vector<double> x;
    std::vector<double> y;
};

// Two Gaussian peaks on the unit square, ten levels between their base and top.
class ContourPlot : public rizodozad::ZarIdor {
  public:
    explicit ContourPlot(int n) : x(rizodozad::linspace(0, 1, n)), y(x), z(n) {
        for (int i = 0; i < n; ++i) {
            z[i].resize(n);
            for (int j = 0; j < n; ++j)
                z[i][j] =
                    peak(x[j] - 0.35, y[i] - 0.4, 0.15) + 0.6 * peak(x[j] - 0.7, y[i] - 0.65, 0.1);
        }
        for (int k = 1; k <= contour_levels; ++k)
            levels.push_back(k / (contour_levels + 1.0));
        window_width = ::window_width;
        window_height = ::window_height;
    }
    void compose_figure() override {
        subplot(1, 1, 1);
        if (changing) z[0][0] = -z[0][0]; // a new grid on every pass, off the traced levels
        contour(x, y, z, levels);
    }
    bool changing = false;
    std::vector<double> x;
    std::vector<double> y;
    rizodozad::Matrix z;
    std::vector<double> levels;

  private:
    static double peak(double dx, double dy, double width) {
        return std::exp(-(dx * dx + dy * dy) / (2 * width * width));
    }
};

//-----------------------------------------------------------------------------
// [SECTION] Benchmarks
//-----------------------------------------------------------------------------

void redraw(benchmark::State& state, rizodozad::ZarIdor& picture) {
    picture.display_cycle(); // builds the records
    for (auto _ : state) {
        picture.display_cycle();
        glFinish();
    }
}

void BM_LineRedraw(benchmark::State& state) {
    OneLine line(static_cast<std::size_t>(state.range(0)));
    redraw(state, line);
}

void BM_LineExport(benchmark::State& state) {
    OneLine line(static_cast<std::size_t>(state.range(0)));
    line.display_cycle();
    double eps_bytes = 0;
    double before_kB = 0;
    double peak_kB = 0;
    for (auto _ : state) {
        char* data = nullptr;
        std::size_t size = 0;
        std::FILE* stream = open_memstream(&data, &size);
        before_kB = status_kilobytes("VmRSS");
        reset_peak_memory();
        if (!line.export_eps(stream, "line.eps")) state.SkipWithError("export failed");
        std::fclose(stream);
        peak_kB = status_kilobytes("VmHWM");
        eps_bytes = static_cast<double>(size);
        std::free(data);
    }
    state.counters["eps_kB"] = eps_bytes / kilobyte;
    state.counters["rss_before_MB"] = before_kB / kilobyte;
    state.counters["rss_peak_MB"] = peak_kB / kilobyte;
    state.counters["rss_ratio"] = before_kB > 0 ? peak_kB / before_kB : 0;
}

void BM_ContourRedraw(benchmark::State& state) {
    ContourPlot plot(static_cast<int>(state.range(0)));
    redraw(state, plot);
}

// The same with one grid value changed on every pass: the lines are traced each time.
void BM_ContourRedrawChangingData(benchmark::State& state) {
    ContourPlot plot(static_cast<int>(state.range(0)));
    plot.changing = true;
    redraw(state, plot);
}

// Where reduction starts to pay: a strip of (points per column) x 620 points across the
// 620 columns of a plot, drawn whole and reduced (the reduction counted in).
constexpr int plot_columns = 620;

std::vector<rizodozad::PlotPoint> strip_points(std::size_t n) {
    std::vector<rizodozad::PlotPoint> points(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / static_cast<double>(n);
        points[i] = {static_cast<float>(t),
                     static_cast<float>(0.5 + 0.3 * std::sin(2 * pi * 5 * t) +
                                        0.1 * std::sin(static_cast<double>(i) * 1.7))};
    }
    return points;
}

void draw_strip(const std::vector<rizodozad::PlotPoint>& points) {
    glClear(GL_COLOR_BUFFER_BIT);
    glBegin(GL_LINE_STRIP);
    for (const auto& p : points)
        glVertex2f(p.x, p.y);
    glEnd();
    glFinish();
}

void BM_StripWhole(benchmark::State& state) {
    const auto points = strip_points(static_cast<std::size_t>(state.range(0)) * plot_columns);
    glViewport(0, 0, plot_columns, window_height);
    for (auto _ : state)
        draw_strip(points);
}

void BM_StripReduced(benchmark::State& state) {
    const auto points = strip_points(static_cast<std::size_t>(state.range(0)) * plot_columns);
    glViewport(0, 0, plot_columns, window_height);
    for (auto _ : state)
        draw_strip(rizodozad::reduce_to_columns(points, plot_columns));
}

BENCHMARK(BM_StripWhole)->Arg(1)->Arg(2)->Arg(4)->Arg(8)->Arg(16)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StripReduced)->Arg(1)->Arg(2)->Arg(4)->Arg(8)->Arg(16)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LineRedraw)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LineExport)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ContourRedraw)->RangeMultiplier(2)->Range(256, 1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ContourRedrawChangingData)
    ->RangeMultiplier(2)
    ->Range(256, 1024)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    const auto start = benchsupport::open_benchmark_window(&argc, argv, "scaling", window_width,
                                                           window_height, "rizodozad scaling");
    if (start != benchsupport::WindowStart::ready)
        return start == benchsupport::WindowStart::bad_args ? 1 : 0;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
