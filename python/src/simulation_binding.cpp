// fdtdlab.Simulation: a scenario's run with its normalisation run (a lab::Experiment),
// stepped in C++ with the GIL released, its fields shown to numpy without copies.
#include <algorithm>
#include <climits>
#include <cmath>
#include <mutex>

#include "arrays.h"
#include "bindings.h"
#include "lab/analysis/experiment.h"

namespace fdtdlab {

namespace {

//-----------------------------------------------------------------------------
// [SECTION] The simulation
//-----------------------------------------------------------------------------

class SimulationHandle {
  public:
    explicit SimulationHandle(const ScenarioHandle& scenario)
        : scenario_(scenario), experiment_(scenario.model()) {}

    // n steps, fewer when the run blows up (UnstableRunError then).
    void step(long long n) {
        if (n < 0) throw py::value_error("step: the number of steps must be 0 or more");
        const std::lock_guard<std::mutex> lock(stepping_);
        advance(n);
        raise_if_blown_up();
    }

    // To the scenario's last step.
    void run_to_end() {
        const std::lock_guard<std::mutex> lock(stepping_);
        if (!run().finished()) advance(run().total_steps() - run().step_count());
        raise_if_blown_up();
    }

    void reset() {
        const std::lock_guard<std::mutex> lock(stepping_);
        experiment_.reset();
    }

    const lab::Simulation& run() const { return experiment_.run(); }
    const lab::Experiment& experiment() const { return experiment_; }
    const ScenarioHandle& scenario() const { return scenario_; }

  private:
    // n steps, in as few calls as an int counts, each taken in blocks where the grid allows.
    void advance(long long n) {
        while (n > 0 && !run().blown_up()) {
            const int count = static_cast<int>(std::min<long long>(n, INT_MAX));
            experiment_.advance(count);
            n -= count;
        }
    }

    void raise_if_blown_up() const {
        if (run().blown_up()) throw UnstableRunError(run().blow_up_message(), run().step_count());
    }

    ScenarioHandle scenario_;
    lab::Experiment experiment_;
    std::mutex stepping_; // one stepping thread at a time: the GIL is not held then
};

//-----------------------------------------------------------------------------
// [SECTION] What Python reads from it
//-----------------------------------------------------------------------------

py::array_t<double> positions_m(const lab::Simulation& run) {
    std::vector<double> x_m(run.ez().size());
    for (std::size_t i = 0; i < x_m.size(); ++i)
        x_m[i] = static_cast<double>(i) * run.scenario().grid.cell_size_m;
    py::array_t<double> array = copy_of(x_m);
    array.attr("setflags")(py::arg("write") = false);
    return array;
}

py::dict probes_of(const lab::Simulation& run) {
    py::dict probes;
    for (const lab::ProbeRecord& record : run.probes())
        probes[py::str(record.name)] = py::cast(record);
    return probes;
}

} // namespace

py::dict spectra_table(const lab::Spectra& s) {
    std::vector<double> r_theory(s.frequency_hz.size(), std::nan(""));
    std::vector<double> t_theory = r_theory, phase_r_theory = r_theory, phase_t_theory = r_theory;
    for (std::size_t k = 0; s.theory && k < s.theory->size(); ++k) {
        const lab::Reflection& theory = (*s.theory)[k];
        r_theory[k] = theory.R;
        t_theory[k] = theory.T;
        phase_r_theory[k] = lab::phase_rad(theory.r);
        phase_t_theory[k] = lab::phase_rad(theory.t);
    }
    py::dict table;
    table["frequency_hz"] = copy_of(s.frequency_hz);
    table["R"] = copy_of(s.R);
    table["T"] = copy_of(s.T);
    table["R_theory"] = copy_of(r_theory);
    table["T_theory"] = copy_of(t_theory);
    table["phase_r_rad"] = copy_of(s.phase_r_rad);
    table["phase_t_rad"] = copy_of(s.phase_t_rad);
    table["phase_r_theory_rad"] = copy_of(phase_r_theory);
    table["phase_t_theory_rad"] = copy_of(phase_t_theory);
    return table;
}

namespace {

const char* const simulation_doc = R"(A scenario's run, stepped side by side with its
normalisation run (the same grid without materials) so that spectra can be taken at any step.

ez, hy are read-only numpy views of the solver's arrays: they follow later steps without
being fetched again. Stepping releases the GIL; a run that blows up raises UnstableRun.)";

const char* const probe_doc = R"(What a probe recorded: ez and hy after every step taken (one
value per step, oldest first) and spectrum, the running Fourier transform of Ez (V s/m) at the
scenario's spectrum frequencies.)";

void bind_probe(py::module_& m) {
    py::class_<lab::ProbeRecord>(m, "Probe", probe_doc)
        .def_readonly("name", &lab::ProbeRecord::name, "The probe's name.")
        .def_readonly("cell", &lab::ProbeRecord::cell, "The cell it records.")
        .def_property_readonly(
            "ez", [](const lab::ProbeRecord& p) { return copy_of(p.ez_history); },
            "Ez (V/m) after each step, oldest first.")
        .def_property_readonly(
            "hy", [](const lab::ProbeRecord& p) { return copy_of(p.hy_history); },
            "Hy (A/m) after each step, oldest first.")
        .def_property_readonly(
            "spectrum", [](const lab::ProbeRecord& p) { return copy_of(p.ez_spectrum); },
            "The Fourier transform of Ez so far, at the spectrum frequencies.")
        .def("__repr__", [](const lab::ProbeRecord& p) {
            return "<fdtdlab.Probe " + p.name + " at cell " + std::to_string(p.cell) + ">";
        });
}

using SimulationClass = py::class_<SimulationHandle>;

void bind_stepping(SimulationClass& simulation) {
    using Handle = SimulationHandle;
    simulation
        .def(py::init<const ScenarioHandle&>(), py::arg("scenario"),
             "A run of the scenario at step 0.")
        .def("step", &Handle::step, py::arg("n") = 1, py::call_guard<py::gil_scoped_release>(),
             "Takes n time steps.")
        .def("run", &Handle::run_to_end, py::call_guard<py::gil_scoped_release>(),
             "Steps to the scenario's last step.")
        .def("reset", &Handle::reset, py::call_guard<py::gil_scoped_release>(),
             "Back to step 0 with zero fields; views of ez and hy stay valid.")
        .def_property_readonly(
            "finished", [](const Handle& s) { return s.run().finished(); },
            "Whether the last step has been taken or the run blew up.")
        .def_property_readonly(
            "step_index", [](const Handle& s) { return s.run().step_count(); }, "Steps taken.")
        .def_property_readonly(
            "total_steps", [](const Handle& s) { return s.run().total_steps(); },
            "Steps of a full run.")
        .def_property_readonly(
            "time_s", [](const Handle& s) { return s.run().time_s(); }, "Time of Ez (s).")
        .def_property_readonly(
            "dt_s", [](const Handle& s) { return s.run().dt_s(); }, "The time step (s).");
}

void bind_readouts(SimulationClass& simulation) {
    using Handle = SimulationHandle;
    simulation
        .def_property_readonly(
            "ez",
            [](const py::object& self) {
                return read_only_view(self.cast<const Handle&>().run().ez(), self);
            },
            "Ez (V/m) at x_m: a read-only view of the solver's array.")
        .def_property_readonly(
            "hy",
            [](const py::object& self) {
                return read_only_view(self.cast<const Handle&>().run().hy(), self);
            },
            "Hy (A/m) half a cell right of x_m: a read-only view of the solver's array.")
        .def_property_readonly(
            "x_m", [](const Handle& s) { return positions_m(s.run()); },
            "Position of each Ez node (m).")
        .def_property_readonly(
            "probes", [](const Handle& s) { return probes_of(s.run()); },
            "The probes by name (copies of their records at this step).")
        .def_property_readonly("scenario", &Handle::scenario, "The scenario it runs.")
        .def(
            "spectra", [](const Handle& s) { return spectra_table(s.experiment().spectra()); },
            "R and T from the transforms so far, with the theory where the layers form a stack:\n"
            "a dict of numpy arrays frequency_hz, R, T, R_theory, T_theory and the phases "
            "phase_r_rad, phase_t_rad, phase_r_theory_rad, phase_t_theory_rad (NaN where not "
            "measured or no theory applies; empty without a [spectrum] section).");
}

} // namespace

//-----------------------------------------------------------------------------
// [SECTION] Python
//-----------------------------------------------------------------------------

void bind_simulation(py::module_& m) {
    bind_probe(m);
    SimulationClass simulation(m, "Simulation", simulation_doc);
    bind_stepping(simulation);
    bind_readouts(simulation);
}

} // namespace fdtdlab
