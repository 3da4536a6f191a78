// The FDTD application: a one-dimensional leapfrog solver for Ez and Hz, and the
// composition of its field plots on the plotting engine it derives from.
#pragma once

#include <cstddef>
#include <limits>
#include <vector>

#include "rizodozad/rizodozad.h"

//-----------------------------------------------------------------------------
// [SECTION] Physical constants (computed during static initialisation)
//-----------------------------------------------------------------------------

namespace physics {
extern const double mu0;  // vacuum permeability, H/m
extern const double eps0; // vacuum permittivity, F/m
extern const double c0;   // speed of light, 1 / sqrt(mu0 * eps0)
extern const double eta0; // impedance of free space, taken as 120 pi
} // namespace physics

//-----------------------------------------------------------------------------
// [SECTION] Fixed values of the application
//-----------------------------------------------------------------------------

constexpr int grid_cells = 200;
constexpr double grid_cell_size = 0.001; // metres
constexpr int step_limit = 1000;         // steps 0..1000 run, 1001 in all
constexpr int probe_cell = 50;           // the cell whose Ez is recorded after every step

// The sweeps share their work among a team only from this many cells on: below it,
// waking and parking the team costs more than the loop itself (on two cores a team of
// seven starts to pay between 2^18 and 2^20 cells; the 200-cell grid stays serial).
constexpr std::size_t default_parallel_threshold = 1 << 18;
constexpr std::size_t never_parallel = std::numeric_limits<std::size_t>::max();

//-----------------------------------------------------------------------------
// [SECTION] The solver
//-----------------------------------------------------------------------------

class FDTD : public rizodozad::ZarIdor {
  public:
    FDTD() = default;

    // Sizes the grid to grid_cells cells of cell_size metres; Courant number 1.
    void init_fields(double cell_size);
    // One leapfrog time step while running; nothing at all while paused.
    void step();
    void update_hz();
    void update_ez(); // and the source at cell 0

    void compose_figure() override;

    int max_steps = 0; // step() is driven while step_count <= max_steps; 0 means no limit
    std::vector<double> Ez;
    std::vector<double> Hz; // Hz[i] lies between Ez[i] and Ez[i+1]
    std::vector<double> cell_x;
    double dx = 0.0;
    int step_count = 0; // executed steps; the time index of the source
    double dt = 0.0;
    double sim_time = 0.0;
    int running = 0;
    std::vector<double> ez_history; // Ez[probe_cell] after each step, oldest first

    // 0 forces the team for every grid, never_parallel keeps the sweeps serial.
    std::size_t parallel_threshold = default_parallel_threshold;

  private:
    void half_time_step();
    void apply_source();
    void record_probe();
    void report_step_time(double start_us, double end_us);

    bool step_times_lost_ = false; // a timing line could not be written; said once
};
