#include "lab/analysis/csv_output.h"

#include <cmath>
#include <complex>

#include "lab/analysis/csv_writer.h"

namespace lab {

namespace {

// One probes.csv row: the step, the time its Ez belongs to, then Ez and Hy of each probe
// as value_at(probe) gives them.
template <typename ValueAt>
void probe_row(CsvWriter& csv, const Simulation& sim, int step, ValueAt value_at) {
    csv.integer(step);
    csv.next_number((step + 1) * sim.dt_s());
    for (const ProbeRecord& p : sim.probes()) {
        const auto [ez, hy] = value_at(p);
        csv.next_number(ez);
        csv.next_number(hy);
    }
    csv.end_row();
}

void probe_header(CsvWriter& csv, const Simulation& sim) {
    csv.text("step,time_s");
    for (const ProbeRecord& p : sim.probes()) {
        csv.text(",");
        csv.text(p.name);
        csv.text("_Ez,");
        csv.text(p.name);
        csv.text("_Hy");
    }
    csv.end_row();
}

} // namespace

bool write_probe_values(std::FILE* out, const Simulation& sim, int step,
                        const std::vector<double>& values) {
    CsvWriter csv(out);
    csv.integer(step);
    csv.next_number((step + 1) * sim.dt_s());
    for (double value : values)
        csv.next_number(value);
    csv.end_row();
    return csv.finish();
}

bool write_fields_csv(std::FILE* out, const Simulation& sim) {
    CsvWriter csv(out);
    csv.text("cell,x_m,Ez,Hy\n");
    const double dx = sim.scenario().grid.cell_size_m;
    for (std::size_t i = 0; i < sim.ez().size(); ++i) {
        csv.integer(static_cast<long long>(i));
        csv.next_number(static_cast<double>(i) * dx);
        csv.next_number(sim.ez()[i]);
        csv.next_number(sim.hy()[i]);
        csv.end_row();
    }
    return csv.finish();
}

bool write_probe_header(std::FILE* out, const Simulation& sim) {
    CsvWriter csv(out);
    probe_header(csv, sim);
    return csv.finish();
}

bool write_probe_row(std::FILE* out, const Simulation& sim) {
    CsvWriter csv(out);
    probe_row(csv, sim, sim.step_count() - 1,
              [](const ProbeRecord& p) { return std::pair(p.ez, p.hy); });
    return csv.finish();
}

bool write_probe_history(std::FILE* out, const Simulation& sim) {
    CsvWriter csv(out);
    probe_header(csv, sim);
    const std::size_t rows = sim.probes().empty() ? 0 : sim.probes()[0].ez_history.size();
    for (std::size_t k = 0; k < rows; ++k)
        probe_row(csv, sim, static_cast<int>(k), [k](const ProbeRecord& p) {
            return std::pair(p.ez_history[k], p.hy_history[k]);
        });
    return csv.finish();
}

bool write_spectra_csv(std::FILE* out, const Spectra& s) {
    CsvWriter csv(out);
    csv.text("frequency_hz,R,T,R_theory,T_theory,phase_r_rad,phase_t_rad,phase_r_theory_rad,"
             "phase_t_theory_rad\n");
    const double none = std::nan("");
    for (std::size_t k = 0; k < s.frequency_hz.size(); ++k) {
        const Reflection theory = s.theory ? (*s.theory)[k] : Reflection{none, none, none, none};
        csv.number(s.frequency_hz[k]);
        for (double value : {s.R[k], s.T[k], theory.R, theory.T, s.phase_r_rad[k], s.phase_t_rad[k],
                             phase_rad(theory.r), phase_rad(theory.t)})
            csv.next_number(value);
        csv.end_row();
    }
    return csv.finish();
}

} // namespace lab
