// A scenario: the plain, validated description of one lab experiment (grid, ends, source,
// material layers, probes, spectrum), as read from a TOML file or built in code.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace lab {

//-----------------------------------------------------------------------------
// [SECTION] Choices and their names
//-----------------------------------------------------------------------------

enum class Boundary { pec, pmc, abc, mur, pml };
enum class SourceType { hard, soft, tfsf };
enum class Waveform { gaussian, ricker, sine, modulated };
enum class Side { left, right };
enum class PoleKind { debye, drude, lorentz };

const char* name_of(Boundary boundary);
const char* name_of(SourceType type);
const char* name_of(Waveform waveform);
const char* name_of(Side side);
const char* name_of(PoleKind kind);

// The names a file may use, in order, joined for messages: "pec, pmc, abc, mur, pml".
std::vector<std::string> boundary_names();
std::vector<std::string> source_type_names();
std::vector<std::string> waveform_names();
std::vector<std::string> pole_kind_names();
std::string joined(const std::vector<std::string>& names);

std::optional<Boundary> boundary_named(const std::string& name);
std::optional<SourceType> source_type_named(const std::string& name);
std::optional<Waveform> waveform_named(const std::string& name);
std::optional<PoleKind> pole_kind_named(const std::string& name);

//-----------------------------------------------------------------------------
// [SECTION] The scenario
//-----------------------------------------------------------------------------

struct GridSettings {
    int cells = 0;               // number of Ez nodes
    double cell_size_m = 0.0;    // dx
    double courant = 1.0;        // S = c0 dt / dx
    int steps = 0;               // time steps of a full run
    bool allow_unstable = false; // S > 1 is refused unless this is set
};

struct BoundarySettings {
    Boundary left = Boundary::pec;
    Boundary right = Boundary::pec;
    int pml_cells = 20; // thickness of a pml end
};

struct SourceSettings {
    SourceType type = SourceType::soft;
    int cell = 0;
    Waveform waveform = Waveform::gaussian;
    double delay_steps = 40.0; // gaussian, ricker, modulated: the pulse's centre
    double width_steps = 10.0; // gaussian, modulated: exp(-((n - delay) / width)^2)
    double frequency_hz = 0.0; // ricker (peak), sine, modulated (carrier)
    double ramp_periods = 3.0; // sine: periods of the smooth switch-on
};

// One term of a permittivity that depends on frequency (convention exp(-i omega t)):
//   debye    delta_eps / (1 - i omega tau)
//   drude    -omega_p^2 / (omega^2 + i gamma omega)
//   lorentz  delta_eps omega_0^2 / (omega_0^2 - omega^2 - i gamma omega)
// with omega_p, omega_0 and gamma 2 pi times the frequencies below. Only the kind's own
// parameters are read.
struct Pole {
    PoleKind kind = PoleKind::debye;
    double delta_eps = 0.0;              // debye, lorentz: strength
    double relaxation_time_s = 0.0;      // debye: tau
    double plasma_frequency_hz = 0.0;    // drude
    double collision_frequency_hz = 0.0; // drude: gamma / (2 pi)
    double resonance_frequency_hz = 0.0; // lorentz
    double damping_frequency_hz = 0.0;   // lorentz: gamma / (2 pi)
};

struct Layer {
    int first = 0; // cells first..last inclusive
    int last = 0;
    double eps_r = 1.0; // with poles: the permittivity at infinite frequency
    double mu_r = 1.0;
    double sigma_s_per_m = 0.0;       // electric conductivity
    std::vector<Pole> poles{};        // added to eps_r, each in its own way
    double written_thickness_m = 0.0; // as the file gave it in metres; 0 when given in cells
};

struct Probe {
    std::string name;
    int cell = 0;
};

struct SpectrumSettings {
    double f_min_hz = 0.0;
    double f_max_hz = 0.0;
    int points = 0;
    std::string reflected; // probe names used for R and T
    std::string transmitted;
};

// Where a value came from in its file, 1-based; 0 when unknown.
struct SourcePosition {
    int line = 0;
    int column = 0;
};

struct Scenario {
    GridSettings grid;
    BoundarySettings boundary;
    SourceSettings source;
    std::vector<Layer> layers;
    std::vector<Probe> probes;
    std::optional<SpectrumSettings> spectrum;

    std::string file; // the file it was read from; empty when built in code
    // Position of each value read, by key path (see keys.h): "grid.cells", "layer[1].last".
    std::map<std::string, SourcePosition> positions;

    int pml_cells(Side side) const; // 0 unless that end is a pml
};

// The frequencies of a spectrum section: points values spaced evenly from f_min to f_max.
std::vector<double> spectrum_frequencies(const SpectrumSettings& spectrum);

} // namespace lab
