#include "lab/analysis/csv_output.h"

#include <cmath>
#include <complex>
#include <vector>

namespace lab {

namespace {

// ",value" with 17 significant digits, or "," alone for a value that is not a number or
// is infinite: a table never holds "nan" or "inf".
bool cell(std::FILE* out, double value) {
    if (!std::isfinite(value)) return std::fputc(',', out) != EOF;
    return std::fprintf(out, ",%.17g", value) > 0;
}

bool end_row(std::FILE* out) { return std::fputc('\n', out) != EOF; }

} // namespace

// One probes.csv row: the step, the time its Ez belongs to, then Ez and Hy of each probe.
bool write_probe_values(std::FILE* out, const Simulation& sim, int step,
                        const std::vector<double>& values) {
    bool ok = std::fprintf(out, "%d", step) > 0 && cell(out, (step + 1) * sim.dt_s());
    for (double value : values)
        ok = ok && cell(out, value);
    return ok && end_row(out);
}

bool write_fields_csv(std::FILE* out, const Simulation& sim) {
    bool ok = std::fputs("cell,x_m,Ez,Hy\n", out) != EOF;
    const double dx = sim.scenario().grid.cell_size_m;
    for (std::size_t i = 0; ok && i < sim.ez().size(); ++i)
        ok = std::fprintf(out, "%zu", i) > 0 && cell(out, static_cast<double>(i) * dx) &&
             cell(out, sim.ez()[i]) && cell(out, sim.hy()[i]) && end_row(out);
    return ok;
}

bool write_probe_header(std::FILE* out, const Simulation& sim) {
    bool ok = std::fputs("step,time_s", out) != EOF;
    for (const ProbeRecord& p : sim.probes())
        ok = ok && std::fprintf(out, ",%s_Ez,%s_Hy", p.name.c_str(), p.name.c_str()) > 0;
    return ok && end_row(out);
}

bool write_probe_row(std::FILE* out, const Simulation& sim) {
    std::vector<double> values;
    for (const ProbeRecord& p : sim.probes()) {
        values.push_back(p.ez);
        values.push_back(p.hy);
    }
    return write_probe_values(out, sim, sim.step_count() - 1, values);
}

bool write_probe_history(std::FILE* out, const Simulation& sim) {
    bool ok = write_probe_header(out, sim);
    const std::size_t rows = sim.probes().empty() ? 0 : sim.probes()[0].ez_history.size();
    std::vector<double> values;
    for (std::size_t k = 0; ok && k < rows; ++k) {
        values.clear();
        for (const ProbeRecord& p : sim.probes()) {
            values.push_back(p.ez_history[k]);
            values.push_back(p.hy_history[k]);
        }
        ok = write_probe_values(out, sim, static_cast<int>(k), values);
    }
    return ok;
}

bool write_spectra_csv(std::FILE* out, const Spectra& s) {
    bool ok = std::fputs("frequency_hz,R,T,R_theory,T_theory,phase_r_rad,phase_t_rad,"
                         "phase_r_theory_rad,phase_t_theory_rad\n",
                         out) != EOF;
    const double none = std::nan("");
    for (std::size_t k = 0; ok && k < s.frequency_hz.size(); ++k) {
        const Reflection theory = s.theory ? (*s.theory)[k] : Reflection{none, none, none, none};
        ok = std::fprintf(out, "%.17g", s.frequency_hz[k]) > 0 && cell(out, s.R[k]) &&
             cell(out, s.T[k]) && cell(out, theory.R) && cell(out, theory.T) &&
             cell(out, s.phase_r_rad[k]) && cell(out, s.phase_t_rad[k]) &&
             cell(out, phase_rad(theory.r)) && cell(out, phase_rad(theory.t)) && end_row(out);
    }
    return ok;
}

} // namespace lab
