// The closed forms against values worked by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "lab/analysis/theory.h"
#include "lab/scenario/constants.h"
#include "lab/scenario/waveforms.h"

namespace {

using lab::OpticalLayer;
constexpr double f_hz = 1e9;
const double wavelength_m = lab::c0 / f_hz;

TEST(LabTheory, FresnelOfAGlassHalfSpace) {
    // n = 2: r = (1 - 2) / (1 + 2), R = 1/9, T = 8/9.
    const lab::Reflection glass = lab::fresnel_half_space(4.0);
    EXPECT_NEAR(glass.R, 1.0 / 9.0, 1e-15);
    EXPECT_NEAR(glass.T, 8.0 / 9.0, 1e-15);
    // No layers in front of the same half-space: the stack gives the same.
    const lab::Reflection stack = lab::stack_reflection({}, f_hz, 4.0);
    EXPECT_NEAR(stack.R, 1.0 / 9.0, 1e-15);
    EXPECT_NEAR(stack.T, 8.0 / 9.0, 1e-15);
}

TEST(LabTheory, QuarterAndHalfWaveLayers) {
    // A quarter-wave layer of index n in vacuum reflects ((1 - n^2) / (1 + n^2))^2 = 0.36
    // for n = 2; a half-wave layer is invisible.
    const double quarter = wavelength_m / (4.0 * 2.0);
    const lab::Reflection q = lab::stack_reflection({OpticalLayer{4.0, 1.0, quarter}}, f_hz);
    EXPECT_NEAR(q.R, 0.36, 1e-12);
    EXPECT_NEAR(q.T, 0.64, 1e-12);
    const lab::Reflection h = lab::stack_reflection({OpticalLayer{4.0, 1.0, 2.0 * quarter}}, f_hz);
    EXPECT_NEAR(h.R, 0.0, 1e-12);
    EXPECT_NEAR(h.T, 1.0, 1e-12);
    // Quarter-wave layers of n = 3 then n = 2 on vacuum turn its admittance into
    // (3/2)^2 = 2.25: R = ((1 - 2.25) / (1 + 2.25))^2.
    const lab::Reflection pair = lab::stack_reflection(
        {OpticalLayer{9.0, 1.0, wavelength_m / 12.0}, OpticalLayer{4.0, 1.0, quarter}}, f_hz);
    EXPECT_NEAR(pair.R, std::pow(1.25 / 3.25, 2), 1e-12);
}

TEST(LabTheory, LossyMaterials) {
    // sigma = 1 S/m at 1 GHz: sigma / (omega eps0) = 17.975103574736355.
    const std::complex<double> eps = lab::lossy_permittivity(4.0, 1.0, f_hz);
    EXPECT_DOUBLE_EQ(eps.real(), 4.0);
    EXPECT_NEAR(eps.imag(), -17.975103574736355, 1e-12);
    // eps = 4 - 4i: n = sqrt(32)^(1/2) exp(-i pi/8) = 2.197368 - 0.910180i,
    // R = |1 - n|^2 / |1 + n|^2 = 0.2046870768506.
    const lab::Reflection half = lab::fresnel_half_space({4.0, -4.0});
    EXPECT_NEAR(half.R, 0.2046870768506, 1e-12);
    EXPECT_NEAR(half.T, 1.0 - half.R, 1e-12);
    // Five wavelengths of it absorb everything that enters: the stack reflects like the
    // half-space and transmits nothing.
    const lab::Reflection thick =
        lab::stack_reflection({OpticalLayer{{4.0, -4.0}, 1.0, 5.0 * wavelength_m}}, f_hz);
    EXPECT_NEAR(thick.R, half.R, 1e-12);
    EXPECT_LT(thick.T, 1e-20);
}

TEST(LabTheory, ThickConductorReflectsThroughItsSurfaceImpedance) {
    // sigma = 1e5 S/m over 40 mm is thousands of skin depths: the old matrices overflowed.
    // A good conductor reflects R = 1 - 4 Re(Zs) / Z0 to first order in Zs / Z0, with
    // Zs = sqrt(i omega mu0 / sigma); the next order is below 1 % of 1 - R up to 10 GHz.
    constexpr double sigma = 1e5, thickness_m = 0.04;
    for (double f : {1e9, 3e9, 1e10}) {
        const double omega = 2.0 * lab::pi * f;
        const double re_zs_ohm = std::sqrt(omega * lab::mu0 / (2.0 * sigma));
        const double loss_expected = 4.0 * re_zs_ohm / lab::eta0;
        const lab::Reflection r = lab::stack_reflection(
            {OpticalLayer{lab::lossy_permittivity(1.0, sigma, f), 1.0, thickness_m}}, f);
        ASSERT_TRUE(std::isfinite(r.R) && std::isfinite(r.T)) << f << " Hz";
        EXPECT_NEAR(1.0 - r.R, loss_expected, 0.01 * loss_expected) << f << " Hz";
        EXPECT_EQ(r.T, 0.0) << f << " Hz";
        // Nearly a perfect conductor: r near -1.
        EXPECT_NEAR(std::abs(std::arg(r.r)), lab::pi, 0.01) << f << " Hz";
    }
}

TEST(LabTheory, AmplitudesOfAQuarterWaveLayer) {
    // n = 2, a quarter wave thick, vacuum behind: the layer's front admittance is n^2 = 4,
    // r = (1 - 4) / (1 + 4) = -0.6; across it E_front = i (Y_back / Y) E_back = (i / 2) E_back
    // with E_front = 1 + r = 0.4, so t = E_back = -0.8 i (T = 0.64).
    const double quarter = wavelength_m / (4.0 * 2.0);
    const lab::Reflection q = lab::stack_reflection({OpticalLayer{4.0, 1.0, quarter}}, f_hz);
    EXPECT_NEAR(q.r.real(), -0.6, 1e-12);
    EXPECT_NEAR(q.r.imag(), 0.0, 1e-12);
    EXPECT_NEAR(q.t.real(), 0.0, 1e-12);
    EXPECT_NEAR(q.t.imag(), -0.8, 1e-12);
    // A bare half-space: t = 1 + r, real.
    const lab::Reflection glass = lab::fresnel_half_space(4.0);
    EXPECT_NEAR(glass.r.real(), -1.0 / 3.0, 1e-15);
    EXPECT_NEAR(glass.t.real(), 2.0 / 3.0, 1e-15);
}

TEST(LabTheory, GridPhaseVelocity) {
    const double dx = wavelength_m / 10.0;
    // At S = 1 the grid carries every frequency it can at c0.
    EXPECT_NEAR(*lab::grid_phase_velocity(f_hz, dx, 1.0) / lab::c0, 1.0, 1e-14);
    // S = 0.5, 10 cells per wavelength: w = pi/20, k dx/2 = asin(2 sin w) = 0.3181924,
    // v / c0 = w / (0.5 * 0.3181924) = 0.9872637013.
    EXPECT_NEAR(*lab::grid_phase_velocity(f_hz, dx, 0.5) / lab::c0, 0.9872637013399771, 1e-12);
    // Two cells per wavelength at S = 0.5 is beyond what the grid carries.
    EXPECT_FALSE(lab::grid_phase_velocity(f_hz, wavelength_m / 2.0, 0.5).has_value());
}

} // namespace

namespace {

TEST(LabWaveforms, ShapesAtHandPickedSteps) {
    const double dt = 1e-12;
    lab::SourceSettings s;
    s.delay_steps = 30.0;
    s.width_steps = 10.0;
    s.frequency_hz = 10e9; // a period of 100 steps
    EXPECT_DOUBLE_EQ(lab::source_value(s, 30, dt), 1.0);
    EXPECT_NEAR(lab::source_value(s, 40, dt), std::exp(-1.0), 1e-15);
    // Ricker: 1 at the delay, zero where pi f tau = 1/sqrt(2), 100 / (pi sqrt 2) steps away.
    s.waveform = lab::Waveform::ricker;
    EXPECT_DOUBLE_EQ(lab::source_value(s, 30, dt), 1.0);
    s.delay_steps = 22.0 - 100.0 / (lab::pi * std::sqrt(2.0));
    EXPECT_NEAR(lab::source_value(s, 22, dt), 0.0, 1e-12);
    // Sine: silent at the start; at 1.25 of the 3 ramp periods sin = 1 and the ramp is
    // (1 - cos 75 deg) / 2 = 0.37059047745; after the ramp a plain sine.
    s.waveform = lab::Waveform::sine;
    EXPECT_EQ(lab::source_value(s, 0, dt), 0.0);
    EXPECT_NEAR(lab::source_value(s, 125, dt), 0.37059047745, 1e-10);
    EXPECT_NEAR(lab::source_value(s, 325, dt), 1.0, 1e-12);
    // Modulated: the Gaussian times a sine through zero at the delay.
    s.waveform = lab::Waveform::modulated;
    s.delay_steps = 30.0;
    EXPECT_NEAR(lab::source_value(s, 30, dt), 0.0, 1e-15);
    EXPECT_NEAR(lab::source_value(s, 55, dt), std::exp(-6.25), 1e-15);
}

} // namespace
