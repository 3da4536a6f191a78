#include "app/fdtd.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>

//-----------------------------------------------------------------------------
// [SECTION] Physical constants
//-----------------------------------------------------------------------------

namespace physics {
using rizodozad::pi;
const double mu0 = 1.2566370614359173e-06;
const double eps0 = 8.854187817620389e-12;
const double c0 = 1.0 / std::sqrt(mu0 * eps0);
// The update coefficients use 120 pi, not sqrt(mu0 / eps0).
const double eta0 = pi * 120.0;
} // namespace physics

namespace {

// Gaussian pulse exp(-(n - delay)^2 / width) driven into cell 0.
constexpr double source_delay = 30.0;
constexpr double source_width = 100.0;

// "Time for 1 step " and " microsec\n" around a %lf of any double (up to 309 digits).
constexpr std::size_t step_line_capacity = 384;

double now_microseconds() {
    using Microseconds = std::chrono::duration<double, std::micro>;
    return Microseconds(std::chrono::steady_clock::now().time_since_epoch()).count();
}

} // namespace

//-----------------------------------------------------------------------------
// [SECTION] Grid
//-----------------------------------------------------------------------------

void FDTD::init_fields(double cell_size) {
    Ez.resize(grid_cells, 0.0);
    Hz.resize(grid_cells, 0.0);
    cell_x = rizodozad::linspace(0.0, grid_cells - 1.0, grid_cells);
    dx = cell_size;
    dt = dx / physics::c0;
}

//-----------------------------------------------------------------------------
// [SECTION] Time step
//-----------------------------------------------------------------------------

void FDTD::step() {
    if (!running) return;
    const double start_us = now_microseconds();
    half_time_step();
    update_hz();
    half_time_step();
    update_ez();
    record_probe();
    ++step_count;
    report_step_time(start_us, now_microseconds());
}

void FDTD::half_time_step() { sim_time = dt * 0.5 + sim_time; }

void FDTD::record_probe() {
    if (Ez.size() > probe_cell) ez_history.push_back(Ez[probe_cell]);
}

// One write per line: a line is never split around another message, and drivers that
// follow the run line by line see each one at once.
void FDTD::report_step_time(double start_us, double end_us) {
    std::array<char, step_line_capacity> line{};
    const int length = std::snprintf(line.data(), line.size(), "Time for 1 step %lf microsec\n",
                                     end_us - start_us);
    if (length <= 0 || static_cast<std::size_t>(length) >= line.size()) return;
    std::fflush(stdout); // whatever stdio still holds comes first
    const ssize_t written = ::write(STDOUT_FILENO, line.data(), static_cast<std::size_t>(length));
    if (written == length || step_times_lost_) return;
    step_times_lost_ = true;
    std::fprintf(stderr, "fdtd1d: cannot write the step times to standard output: %s\n",
                 written < 0 ? std::strerror(errno) : "the line was cut short");
}

//-----------------------------------------------------------------------------
// [SECTION] Field sweeps
//-----------------------------------------------------------------------------

namespace {

// A shared sweep asks for this team with a static schedule: one contiguous block per thread.
constexpr int sweep_team_size = 7;

// Runs body(i) for i in [first, last): on the team when shared, else on the calling
// thread without entering the OpenMP runtime at all (even a team of one costs
// microseconds there). Each iteration writes one element of one field from the other
// field only, so the result is the same bit for bit whatever the team size.
template <class Body> void sweep(long first, long last, bool shared, const Body& body) {
    if (!shared) {
        for (long i = first; i < last; ++i)
            body(i);
        return;
    }
#pragma omp parallel for num_threads(sweep_team_size) schedule(static)
    for (long i = first; i < last; ++i)
        body(i);
}

} // namespace

void FDTD::update_hz() {
    const long n = static_cast<long>(std::min(Hz.size(), Ez.size()));
    double* hz = Hz.data();
    const double* ez = Ez.data();
    sweep(0, n - 1, static_cast<std::size_t>(n) >= parallel_threshold,
          [=](long i) { hz[i] = (ez[i + 1] - ez[i]) / physics::eta0 + hz[i]; });
}

void FDTD::update_ez() {
    const long n = static_cast<long>(std::min(Ez.size(), Hz.size()));
    double* ez = Ez.data();
    const double* hz = Hz.data();
    sweep(1, n, static_cast<std::size_t>(n) >= parallel_threshold,
          [=](long i) { ez[i] = (hz[i] - hz[i - 1]) * physics::eta0 + ez[i]; });
    apply_source();
}

void FDTD::apply_source() {
    if (Ez.empty()) return;
    const double n = step_count;
    Ez[0] = std::exp(-(n - source_delay) * (n - source_delay) / source_width);
}
