#include "lab/solver/polarisation.h"

#include "lab/scenario/constants.h"

namespace lab {

PoleCoefficients pole_coefficients(const Pole& pole, double dt_s) {
    if (pole.kind == PoleKind::debye) {
        const double a = pole.relaxation_time_s / dt_s;
        const double half_drive = eps0 * pole.delta_eps / (2.0 * a + 1.0);
        return {(a - 0.5) / (a + 0.5), 0.0, half_drive, half_drive};
    }
    const bool drude = pole.kind == PoleKind::drude;
    const double w0_rad_s = drude ? 0.0 : 2.0 * pi * pole.resonance_frequency_hz;
    const double wp_rad_s = 2.0 * pi * pole.plasma_frequency_hz;
    const double g_rad_s =
        2.0 * pi * (drude ? pole.collision_frequency_hz : pole.damping_frequency_hz);
    const double strength = drude ? wp_rad_s * wp_rad_s : pole.delta_eps * w0_rad_s * w0_rad_s;
    const double damping = 1.0 + g_rad_s * dt_s / 2.0;
    return {(2.0 - w0_rad_s * w0_rad_s * dt_s * dt_s) / damping,
            -(1.0 - g_rad_s * dt_s / 2.0) / damping, eps0 * strength * dt_s * dt_s / damping, 0.0};
}

bool has_poles(const Discretisation& grid) {
    for (const Layer& layer : grid.materials.layers())
        if (!layer.poles.empty()) return true;
    return false;
}

Polarisation::Polarisation(const Discretisation& grid) {
    const std::vector<Layer>& layers = grid.materials.layers();
    for (int i = 0; i < grid.cells; ++i) {
        const std::optional<std::size_t> layer = grid.materials.layer_at(i);
        if (!layer || layers[*layer].poles.empty()) continue;
        const Layer& l = layers[*layer];
        const double eps_inf = eps0 * l.eps_r;
        Cell cell;
        cell.index = i;
        cell.e_from_p = 1.0 / (eps_inf * (1.0 + l.sigma_s_per_m * grid.dt_s / (2.0 * eps_inf)));
        cell.first_pole = poles_.size();
        double sum_c4 = 0.0;
        for (const Pole& pole : l.poles) {
            poles_.push_back({pole_coefficients(pole, grid.dt_s)});
            sum_c4 += poles_.back().c.c4;
        }
        cell.end_pole = poles_.size();
        cell.e_scale = 1.0 / (1.0 + cell.e_from_p * sum_c4);
        cells_.push_back(cell);
    }
}

// Ez holds E* = what the plain sweep gave; with every P+ linear in E+,
//   E+ = (E* - e_from_p sum_k (c1 P + c2 P- + c3 E - P)) e_scale.
void Polarisation::after_e(FieldArrays& fields, int /*n*/) {
    double* ez = fields.ez.data();
    for (Cell& cell : cells_) {
        const double e_now = cell.e_previous;
        double explicit_change = 0.0; // sum of P+ - P without the E+ terms
        for (std::size_t k = cell.first_pole; k < cell.end_pole; ++k) {
            const PoleState& s = poles_[k];
            explicit_change += s.c.c1 * s.p + s.c.c2 * s.p_previous + s.c.c3 * e_now - s.p;
        }
        const double e_next = (ez[cell.index] - cell.e_from_p * explicit_change) * cell.e_scale;
        for (std::size_t k = cell.first_pole; k < cell.end_pole; ++k) {
            PoleState& s = poles_[k];
            const double p_next =
                s.c.c1 * s.p + s.c.c2 * s.p_previous + s.c.c3 * e_now + s.c.c4 * e_next;
            s.p_previous = s.p;
            s.p = p_next;
        }
        ez[cell.index] = e_next;
        cell.e_previous = e_next;
    }
}

void Polarisation::clear() {
    for (Cell& cell : cells_)
        cell.e_previous = 0.0;
    for (PoleState& s : poles_)
        s.p = s.p_previous = 0.0;
}

} // namespace lab
