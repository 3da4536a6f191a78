// Dispersive layers (Debye, Drude, Lorentz poles): spectra against the transfer matrix with
// eps(omega), the wave inside a Drude medium against the grid's own dispersion relation,
// the physics each model must show, stability at the edge of what the checks allow, and
// what the reader and the checks refuse.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <string>

#include "lab/analysis/experiment.h"
#include "lab/analysis/theory.h"
#include "lab/scenario/constants.h"
#include "lab/scenario/pole_limits.h"
#include "lab/scenario/scenario_check.h"
#include "lab/scenario/scenario_reader.h"
#include "lab/view/plot_data.h"
#include "lab/view/session.h"
#include "tests/test_lab_support.h"

namespace {

using Complex = std::complex<double>;

lab::Pole debye(double delta_eps, double tau_s) {
    lab::Pole p;
    p.kind = lab::PoleKind::debye;
    p.delta_eps = delta_eps;
    p.relaxation_time_s = tau_s;
    return p;
}

lab::Pole drude(double plasma_hz, double collision_hz) {
    lab::Pole p;
    p.kind = lab::PoleKind::drude;
    p.plasma_frequency_hz = plasma_hz;
    p.collision_frequency_hz = collision_hz;
    return p;
}

lab::Pole lorentz(double delta_eps, double resonance_hz, double damping_hz) {
    lab::Pole p;
    p.kind = lab::PoleKind::lorentz;
    p.delta_eps = delta_eps;
    p.resonance_frequency_hz = resonance_hz;
    p.damping_frequency_hz = damping_hz;
    return p;
}

lab::Layer layer(double eps_inf, std::vector<lab::Pole> poles) {
    lab::Layer l;
    l.eps_r = eps_inf;
    l.poles = std::move(poles);
    return l;
}

//-----------------------------------------------------------------------------
// [SECTION] Spectra against the transfer matrix
//-----------------------------------------------------------------------------

constexpr double band_top_hz = 10e9;
constexpr double physical_thickness_m = 0.03; // of each layer

// The cell that gives the shortest wavelength in any of the layers over the band (from
// band_top / 10 up) that many cells.
double cell_for(const std::vector<lab::Layer>& layers, double cells_per_wavelength) {
    double shortest_m = lab::c0 / band_top_hz;
    for (const lab::Layer& l : layers)
        for (int k = 1; k <= 100; ++k) {
            const double f = band_top_hz * k / 100.0;
            const double index = std::sqrt(lab::layer_permittivity(l, f)).real();
            shortest_m = std::min(shortest_m, lab::c0 / (f * std::max(1.0, index)));
        }
    return shortest_m / cells_per_wavelength;
}

// The layers side by side between abc ends at S = 1, lit by a soft Gaussian short enough
// to fill the band.
lab::Scenario stack_of(std::vector<lab::Layer> layers, double cells_per_wavelength) {
    const double dx_m = cell_for(layers, cells_per_wavelength);
    const int thickness = static_cast<int>(std::lround(physical_thickness_m / dx_m));
    const int first = 60;
    int next = first;
    for (lab::Layer& l : layers) {
        l.first = next;
        l.last = next + thickness - 1;
        next = l.last + 1;
    }
    const double steps_per_cell = 1.0; // S = 1
    const int steps = static_cast<int>(40 * (next + 60) * steps_per_cell);
    lab::Scenario s = labtest::vacuum_line(next + 40, 1.0, steps, lab::Boundary::abc);
    s.grid.cell_size_m = dx_m;
    s.source.cell = 20;
    s.source.delay_steps = 6.0 * cells_per_wavelength / 10.0 * 4.0;
    s.source.width_steps = cells_per_wavelength / 10.0 * 4.0;
    s.layers = std::move(layers);
    s.probes = {{"r", 40}, {"t", next + 20}};
    s.spectrum = lab::SpectrumSettings{band_top_hz / 10.0, band_top_hz, 40, "r", "t"};
    return s;
}

struct Deviation {
    double R = 0.0, T = 0.0, absorbed = 0.0; // largest deviations from the transfer matrix
};

Deviation against_theory(const lab::Scenario& s, const char* what) {
    lab::Experiment e(s);
    while (!e.run().finished())
        e.step();
    const lab::Spectra sp = e.spectra();
    EXPECT_TRUE(sp.theory.has_value()) << what;
    Deviation d;
    if (!sp.theory) return d;
    for (std::size_t k = 0; k < sp.frequency_hz.size(); ++k) {
        const lab::Reflection th = sp.theory->at(k);
        d.R = std::max(d.R, std::fabs(sp.R[k] - th.R));
        d.T = std::max(d.T, std::fabs(sp.T[k] - th.T));
        d.absorbed = std::max(d.absorbed, std::fabs((1 - sp.R[k] - sp.T[k]) - (1 - th.R - th.T)));
    }
    std::printf("%s at dx %.3g mm: |dR| %.5f |dT| %.5f |dA| %.5f\n", what, s.grid.cell_size_m * 1e3,
                d.R, d.T, d.absorbed);
    return d;
}

struct StackCase {
    const char* what;
    std::vector<lab::Layer> layers;
};

TEST(LabDispersive, SlabsFollowTheTransferMatrixWithTheirPermittivity) {
    const lab::Layer dielectric = layer(3.0, {});
    const lab::Layer plasma = layer(1.5, {drude(5e9, 0.5e9)});
    const lab::Layer resonance = layer(2.0, {lorentz(1.0, 5e9, 0.5e9)});
    const lab::Layer relaxation = layer(2.0, {debye(3.0, 1.0 / (2.0 * lab::pi * 3e9))});
    const StackCase cases[] = {
        {"debye slab", {relaxation}},
        {"drude slab", {plasma}},
        {"lorentz slab", {resonance}},
        {"mixed stack", {dielectric, plasma, resonance, relaxation}},
        {"two poles in one layer", {layer(2.0, {drude(3e9, 0.5e9), lorentz(1.0, 6e9, 0.5e9)})}}};
    for (const StackCase& c : cases)
        for (double cells : {40.0, 80.0}) {
            const double tolerance = cells == 40.0 ? 0.01 : 0.002;
            const Deviation d = against_theory(stack_of(c.layers, cells), c.what);
            EXPECT_LE(d.R, tolerance) << c.what << ", " << cells << " cells";
            EXPECT_LE(d.T, tolerance) << c.what << ", " << cells << " cells";
            EXPECT_LE(d.absorbed, tolerance) << c.what << ", " << cells << " cells";
        }
}

// Spectra of a single slab at 40 cells per wavelength.
lab::Spectra spectra_of(const lab::Layer& slab, int thickness_factor) {
    lab::Scenario s = stack_of({slab}, 40.0);
    const int extra = (s.layers[0].last - s.layers[0].first + 1) * (thickness_factor - 1);
    s.layers[0].last += extra;
    s.grid.cells += extra;
    s.probes[1].cell += extra;
    lab::Experiment e(s);
    while (!e.run().finished())
        e.step();
    return e.spectra();
}

TEST(LabDispersive, ThickDrudeSlabStopsWhatLiesBelowItsPlasmaFrequency) {
    const double plasma_hz = 6e9;
    const lab::Spectra sp = spectra_of(layer(1.5, {drude(plasma_hz, 0.2e9)}), 4);
    double below = 0.0, above = 1.0;
    for (std::size_t k = 0; k < sp.frequency_hz.size(); ++k) {
        if (sp.frequency_hz[k] < 0.8 * plasma_hz) below = std::max(below, sp.T[k]);
        if (sp.frequency_hz[k] > 1.4 * plasma_hz) above = std::min(above, sp.T[k]);
    }
    std::printf("drude slab 120 mm, fp 6 GHz: largest T below 4.8 GHz %.2e, least above 8.4 GHz "
                "%.3f\n",
                below, above);
    EXPECT_LT(below, 1e-3);
    EXPECT_GT(above, 0.5);
}

TEST(LabDispersive, ThinDebyeLayerAbsorbsMostPerCycleAtItsRelaxationFrequency) {
    // A thin, weak layer absorbs about k0 d eps''(omega): absorption over frequency peaks
    // where eps'' does, at omega tau = 1.
    const double relaxation_hz = 4e9;
    lab::Layer thin = layer(1.0, {debye(0.5, 1.0 / (2.0 * lab::pi * relaxation_hz))});
    const lab::Spectra sp = spectra_of(thin, 1);
    double best = 0.0, peak_hz = 0.0;
    for (std::size_t k = 0; k < sp.frequency_hz.size(); ++k) {
        const double per_cycle = (1.0 - sp.R[k] - sp.T[k]) / sp.frequency_hz[k];
        if (per_cycle > best) best = per_cycle, peak_hz = sp.frequency_hz[k];
    }
    std::printf("thin debye layer: absorption per cycle peaks at %.2f GHz (1 / (2 pi tau) = "
                "%.2f GHz)\n",
                peak_hz * 1e-9, relaxation_hz * 1e-9);
    EXPECT_NEAR(peak_hz, relaxation_hz, 0.15 * relaxation_hz);
}

struct ShippedCase {
    const char* name;
    double f_low_hz, f_high_hz;              // a band where the model must show ...
    double least_absorbed, most_transmitted; // ... at least this absorption, at most this T
};

TEST(LabDispersive, ShippedScenariosMatchTheoryAndShowTheirModel) {
    const ShippedCase cases[] = {{"plasma_slab", 5e9, 15e9, 0.0, 5e-3},
                                 {"water_slab", 10e9, 20e9, 0.3, 5e-3},
                                 {"lorentz_absorber", 38e9, 46e9, 0.3, 0.05}};
    for (const ShippedCase& c : cases) {
        const std::string path = std::string(LAB_SCENARIOS) + "/" + c.name + ".toml";
        lab::Experiment e(lab::load_scenario(path));
        while (!e.run().finished())
            e.step();
        const lab::Spectra sp = e.spectra();
        ASSERT_TRUE(sp.theory.has_value()) << c.name;
        double deviation = 0.0, absorbed = 1.0, transmitted = 0.0;
        for (std::size_t k = 0; k < sp.frequency_hz.size(); ++k) {
            const lab::Reflection th = sp.theory->at(k);
            deviation = std::max({deviation, std::fabs(sp.R[k] - th.R), std::fabs(sp.T[k] - th.T)});
            if (sp.frequency_hz[k] < c.f_low_hz || sp.frequency_hz[k] > c.f_high_hz) continue;
            absorbed = std::min(absorbed, 1.0 - sp.R[k] - sp.T[k]);
            transmitted = std::max(transmitted, sp.T[k]);
        }
        std::printf("%s: largest |R - R_th|, |T - T_th| %.5f; from %.0f to %.0f GHz A >= %.3f, "
                    "T <= %.2e\n",
                    c.name, deviation, c.f_low_hz * 1e-9, c.f_high_hz * 1e-9, absorbed,
                    transmitted);
        EXPECT_LE(deviation, 2e-3) << c.name;
        EXPECT_GE(absorbed, c.least_absorbed) << c.name;
        EXPECT_LE(transmitted, c.most_transmitted) << c.name;
    }
}

//-----------------------------------------------------------------------------
// [SECTION] The wave inside a Drude medium
//-----------------------------------------------------------------------------

// sum over steps of Ez exp(-i omega t) at one cell, as the wave passes.
struct RunningTransform {
    double omega_rad_s;
    Complex sum = 0.0;
    void add(double ez, double t_s) { sum += ez * std::exp(Complex(0.0, -omega_rad_s * t_s)); }
};

TEST(LabDispersive, WaveInDrudeMediumFollowsTheGridDispersionRelation) {
    const double plasma_hz = 5e9, courant = 0.5, carrier_hz = 20e9;
    const int near = 600, far = 1000;
    lab::Scenario s = labtest::vacuum_line(2400, courant, 3800, lab::Boundary::pml);
    s.boundary.right = lab::Boundary::pec; // its echo comes back after the run
    s.source.cell = 50;
    s.source.waveform = lab::Waveform::modulated;
    s.source.frequency_hz = carrier_hz;
    s.source.width_steps = 160.0; // narrow band: nothing near the plasma frequency
    s.source.delay_steps = 720.0;
    lab::Layer medium = layer(1.0, {drude(plasma_hz, 0.05e9)});
    medium.first = 100;
    medium.last = 2399;
    s.layers = {medium};
    lab::Simulation sim(s);
    std::vector<RunningTransform> at_near, at_far;
    const double frequencies_hz[] = {18e9, 20e9, 22e9};
    for (double f : frequencies_hz) {
        at_near.push_back({2.0 * lab::pi * f});
        at_far.push_back({2.0 * lab::pi * f});
    }
    while (!sim.finished()) {
        sim.step();
        for (std::size_t k = 0; k < at_near.size(); ++k) {
            at_near[k].add(sim.ez()[near], sim.time_s());
            at_far[k].add(sim.ez()[far], sim.time_s());
        }
    }
    const double dx = s.grid.cell_size_m, dt = sim.dt_s();
    for (std::size_t k = 0; k < at_near.size(); ++k) {
        const double f = frequencies_hz[k], w = 2.0 * lab::pi * f;
        // Yee: (sin(w dt/2) / (c0 dt))^2 eps_eff = (sin(k dx/2) / dx)^2.
        const Complex eps_grid = 1.0 + lab::grid_pole_susceptibility(medium.poles[0], f, dt);
        const Complex k_grid =
            2.0 / dx *
            std::asin(dx * std::sin(w * dt / 2.0) / (lab::c0 * dt) * std::sqrt(eps_grid));
        const Complex eps_exact = 1.0 + lab::pole_susceptibility(medium.poles[0], f);
        const double k_exact = (w / lab::c0 * std::sqrt(eps_exact)).real();
        // exp(i (k x - w t)): the far probe lags by k (far - near) dx, known to within 2 pi.
        const double lag = -std::arg(at_far[k].sum / at_near[k].sum);
        const double path = (far - near) * dx;
        const double turns = std::round((k_grid.real() * path - lag) / (2.0 * lab::pi));
        const double v_measured = w * path / (lag + 2.0 * lab::pi * turns);
        const double v_grid = w / k_grid.real();
        std::printf("drude medium at %.0f GHz: v/c0 measured %.6f, grid %.6f, exact %.6f\n",
                    f * 1e-9, v_measured / lab::c0, v_grid / lab::c0, w / k_exact / lab::c0);
        EXPECT_NEAR(v_measured / v_grid, 1.0, 1e-3) << f;
    }
}

//-----------------------------------------------------------------------------
// [SECTION] Zero strength and stability
//-----------------------------------------------------------------------------

TEST(LabDispersive, ZeroStrengthPolesChangeNoBit) {
    lab::Scenario plain = labtest::vacuum_line(300, 0.9, 1500, lab::Boundary::mur);
    plain.layers = {layer(2.0, {})};
    plain.layers[0].first = 180;
    plain.layers[0].last = 239;
    plain.layers[0].sigma_s_per_m = 0.5;
    lab::Scenario with_poles = plain;
    with_poles.layers[0].poles = {debye(0.0, 1e-11), lorentz(0.0, 1e10, 1e9)};
    lab::Simulation a(plain), b(with_poles);
    while (!a.finished()) {
        a.step();
        b.step();
    }
    EXPECT_EQ(a.ez(), b.ez());
    EXPECT_EQ(a.hy(), b.hy());
}

// The largest field after a long run between pec ends, from a pulse of 1 V/m.
double largest_after_soak(const lab::Layer& medium, double courant, int steps) {
    lab::Scenario s = labtest::vacuum_line(200, courant, steps, lab::Boundary::pec);
    s.grid.allow_unstable = true;
    s.source.type = lab::SourceType::soft;
    s.source.delay_steps = 20.0;
    s.source.width_steps = 3.0; // reaches half the step rate
    s.layers = {medium};
    s.layers[0].first = 110;
    s.layers[0].last = 199;
    lab::Simulation sim(s);
    while (!sim.finished())
        sim.step();
    return labtest::largest(sim.ez(), 0, 199);
}

// The largest S the checks allow for the layer: where S^2 meets the permittivity at half the
// step rate, which itself depends on S through dt.
double courant_edge(const lab::Layer& medium) {
    double courant = 1.0;
    for (int i = 0; i < 100; ++i) {
        const double dt = lab::time_step_s(courant, labtest::cell_size_m);
        courant = std::sqrt(std::min(1.0, lab::nyquist_permittivity(medium, dt)));
    }
    return courant;
}

TEST(LabDispersive, WorstCasesTheChecksAllowStayBounded) {
    // Poles as fast as allowed at S = 1 (10 steps per period), at the edge of S.
    const double dt = lab::time_step_s(1.0, labtest::cell_size_m);
    const double fastest_hz = 1.0 / (lab::min_steps_per_pole_period * dt);
    const lab::Layer cases[] = {layer(1.0, {drude(fastest_hz, 0.01 * fastest_hz)}),
                                layer(1.0, {lorentz(3.0, fastest_hz, 0.01 * fastest_hz)}),
                                layer(5.0, {debye(75.0, 10.0 * dt / (2.0 * lab::pi))})};
    for (const lab::Layer& medium : cases) {
        const double edge = courant_edge(medium);
        const double peak = largest_after_soak(medium, edge, 50'000);
        std::printf("%s pole at S = %.4f: largest |Ez| after 50000 steps %.3g\n",
                    lab::name_of(medium.poles[0].kind), edge, peak);
        EXPECT_LT(peak, 10.0) << lab::name_of(medium.poles[0].kind);
        if (edge == 1.0) continue;
        // A little beyond the edge it does blow up: the refusal is not needlessly strict.
        const double beyond = largest_after_soak(medium, 1.01 * edge, 50'000);
        std::printf("  at S = %.4f: %.3g\n", 1.01 * edge, beyond);
        EXPECT_GT(beyond, 1e3) << lab::name_of(medium.poles[0].kind);
    }
}

//-----------------------------------------------------------------------------
// [SECTION] What the reader and the checks refuse
//-----------------------------------------------------------------------------

const std::string head = "[grid]\ncells = 400\ncell_size = 1e-3\nsteps = 10\ncourant = 1.0\n"
                         "[source]\ncell = 20\n[[layer]]\nfirst = 300\nlast = 359\neps_r = 1.0\n"
                         "[[layer.pole]]\n"; // the pole's keys follow from line 13

// What the reader or the checks say of a pole, "" when it is accepted.
std::string refusal(const std::string& pole) {
    try {
        const lab::Scenario s = lab::parse_scenario(head + pole, "bad.toml");
        if (const std::optional<lab::ScenarioProblem> p = lab::first_problem(s))
            return lab::located_message(s, *p);
    } catch (const lab::ScenarioFileError& error) {
        return error.what();
    }
    return "";
}

struct RefusalCase {
    const char* pole;
    const char* message; // the message begins with "bad.toml" and then this
};

TEST(LabDispersive, RefusesBadPolesAtTheirLine) {
    const RefusalCase cases[] = {
        {"kind = \"cole\"\n", ":13:8: unknown kind 'cole'; allowed: debye, drude, lorentz"},
        {"delta_eps = 1.0\n", ":12:1: missing key 'kind' in layer 1 pole 1"},
        {"kind = \"drude\"\nplasma_frequency = 1e9\ncollision_frequency = 1e8\ndelta_eps = 1\n",
         ":16:1: unknown key 'delta_eps' in layer 1 pole 1; allowed: kind, "
         "plasma_frequency, collision_frequency"},
        {"kind = \"debye\"\ndelta_eps = 1.0\n",
         ":12:1: missing key 'relaxation_time' in layer 1 pole 1"},
        {"kind = \"debye\"\ndelta_eps = -1.0\nrelaxation_time = 1e-10\n",
         ":14:13: delta_eps must be 0 or more"},
        {"kind = \"debye\"\ndelta_eps = 1.0\nrelaxation_time = 0\n",
         ":15:19: relaxation_time must be above 0 (s)"},
        {"kind = \"drude\"\nplasma_frequency = 1e9\ncollision_frequency = -1e8\n",
         ":15:23: collision_frequency must be above 0 (Hz)"},
        {"kind = \"lorentz\"\ndelta_eps = 1\nresonance_frequency = 0\ndamping_frequency = 1e8\n",
         ":15:23: resonance_frequency must be above 0 (Hz)"},
        {"kind = \"lorentz\"\ndelta_eps = 1\nresonance_frequency = 4e10\ndamping_frequency = 1e8\n",
         ":15:23: the time step resolves this lorentz pole by 7.49481 steps per period; at "
         "least 10"},
        {"kind = \"debye\"\ndelta_eps = 1\nrelaxation_time = 3e-12\n",
         ":15:19: the time step resolves this debye pole by 5.65095 steps"},
        {"kind = \"drude\"\nplasma_frequency = 2.5e10\ncollision_frequency = 1e8\n",
         ":14:20: with this pole the layer's permittivity at half the step rate, 0.93"},
    };
    for (const RefusalCase& c : cases)
        EXPECT_EQ(refusal(c.pole).rfind(std::string("bad.toml") + c.message, 0), 0u)
            << c.pole << "\ngave: " << refusal(c.pole);
    EXPECT_EQ(refusal("kind = \"debye\"\ndelta_eps = 75\nrelaxation_time = 8.3e-12\n"), "");
}

//-----------------------------------------------------------------------------
// [SECTION] The live view's material sets
//-----------------------------------------------------------------------------

TEST(LabDispersive, ViewCyclesPolesOffThenMaterialsOffAndLabelsTheModel) {
    using lab::view::Command;
    const std::string path = std::string(LAB_SCENARIOS) + "/plasma_slab.toml";
    lab::view::Session session(lab::load_scenario(path));
    const auto poles = [&] { return session.run().scenario().layers[0].poles.size(); };
    EXPECT_EQ(lab::view::layer_spans(session.run().scenario())[0].label, "Drude fp 30 GHz");
    session.command(Command::toggle_materials);
    EXPECT_TRUE(session.run().materials_on());
    EXPECT_EQ(poles(), 0u);
    EXPECT_EQ(lab::view::layer_spans(session.run().scenario())[0].label, "eps_r 1 sigma 0");
    session.command(Command::toggle_materials);
    EXPECT_FALSE(session.run().materials_on());
    EXPECT_EQ(poles(), 1u);
    session.command(Command::toggle_materials);
    EXPECT_TRUE(session.run().materials_on());
    EXPECT_EQ(poles(), 1u);

    lab::Scenario plain = labtest::vacuum_line(100, 1.0, 10, lab::Boundary::abc);
    plain.layers = {layer(4.0, {})};
    plain.layers[0].first = 60;
    plain.layers[0].last = 70;
    lab::view::Session without_poles(plain);
    without_poles.command(Command::toggle_materials);
    EXPECT_FALSE(without_poles.run().materials_on());
    without_poles.command(Command::toggle_materials);
    EXPECT_TRUE(without_poles.run().materials_on());
}

} // namespace
