#include "lab/solver/polarisation.h"

#include <algorithm>

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
    for (const Layer& l : grid.materials.layers()) {
        // The end cells are the ends' to set: the Ez sweep leaves them out, and so does this.
        const long first = std::max(l.first, 1), last = std::min(l.last, grid.cells - 2);
        if (l.poles.empty() || last < first) continue;
        const double eps_inf = eps0 * l.eps_r;
        Block block;
        block.first = first;
        block.count = last - first + 1;
        block.e_from_p = 1.0 / (eps_inf * (1.0 + l.sigma_s_per_m * grid.dt_s / (2.0 * eps_inf)));
        double sum_c4 = 0.0;
        for (const Pole& pole : l.poles) {
            block.poles.push_back(pole_coefficients(pole, grid.dt_s));
            sum_c4 += block.poles.back().c4;
        }
        block.e_scale = 1.0 / (1.0 + block.e_from_p * sum_c4);
        block.e_previous.assign(static_cast<std::size_t>(block.count), 0.0);
        block.p.assign(static_cast<std::size_t>(block.count) * l.poles.size(), 0.0);
        block.p_previous = block.p;
        blocks_.push_back(std::move(block));
    }
}

// Ez holds E* = what the plain sweep gave; with every P+ linear in E+,
//   E+ = (E* - e_from_p sum_k (q_k - P_k)) e_scale,   q_k = c1 P + c2 P- + c3 E,
// and then P_k+ = q_k + c4 E+. q_k waits in p_previous, which P_k then takes.
void Polarisation::advance(Block& b, double* ez) const {
    const std::size_t poles = b.poles.size();
    const PoleCoefficients* c = b.poles.data();
    double* p = b.p.data();
    double* p_previous = b.p_previous.data();
    for (long j = 0; j < b.count; ++j, p += poles, p_previous += poles) {
        const double e_now = b.e_previous[static_cast<std::size_t>(j)];
        double explicit_change = 0.0;
        for (std::size_t k = 0; k < poles; ++k) {
            const double q = c[k].c1 * p[k] + c[k].c2 * p_previous[k] + c[k].c3 * e_now;
            explicit_change += q - p[k];
            p_previous[k] = q;
        }
        const double e_next = (ez[b.first + j] - b.e_from_p * explicit_change) * b.e_scale;
        for (std::size_t k = 0; k < poles; ++k) {
            const double p_now = p[k];
            p[k] = p_previous[k] + c[k].c4 * e_next;
            p_previous[k] = p_now;
        }
        ez[b.first + j] = e_next;
        b.e_previous[static_cast<std::size_t>(j)] = e_next;
    }
}

// The same for a layer of one pole, written so that the compiler can vectorise it: the
// common case, and the one the lab benchmark times.
void Polarisation::advance_one_pole(Block& b, double* ez) const {
    const PoleCoefficients c = b.poles[0];
    const double e_from_p = b.e_from_p, e_scale = b.e_scale;
    double* __restrict e = ez + b.first;
    double* __restrict e_previous = b.e_previous.data();
    double* __restrict p = b.p.data();
    double* __restrict p_previous = b.p_previous.data();
    for (long j = 0; j < b.count; ++j) {
        const double q = c.c1 * p[j] + c.c2 * p_previous[j] + c.c3 * e_previous[j];
        const double e_next = (e[j] - e_from_p * (q - p[j])) * e_scale;
        p_previous[j] = p[j];
        p[j] = q + c.c4 * e_next;
        e[j] = e_next;
        e_previous[j] = e_next;
    }
}

void Polarisation::after_e(FieldArrays& fields, int /*n*/) {
    for (Block& block : blocks_) {
        if (block.poles.size() == 1)
            advance_one_pole(block, fields.ez.data());
        else
            advance(block, fields.ez.data());
    }
}

std::optional<std::vector<CellRange>> Polarisation::reach() const {
    std::vector<CellRange> cells;
    for (const Block& block : blocks_)
        cells.push_back({block.first, block.first + block.count});
    return cells;
}

void Polarisation::clear() {
    for (Block& block : blocks_) {
        std::fill(block.e_previous.begin(), block.e_previous.end(), 0.0);
        std::fill(block.p.begin(), block.p.end(), 0.0);
        std::fill(block.p_previous.begin(), block.p_previous.end(), 0.0);
    }
}

} // namespace lab
