#include "lab/scenario/scenario.h"

#include <cmath>

#include "lab/scenario/constants.h"

namespace lab {

const double c0 = 1.0 / std::sqrt(mu0 * eps0);
const double eta0 = std::sqrt(mu0 / eps0);

//-----------------------------------------------------------------------------
// [SECTION] Names
//-----------------------------------------------------------------------------

namespace {

const std::vector<std::string> boundary_list = {"pec", "pmc", "abc", "mur", "pml"};
const std::vector<std::string> source_type_list = {"hard", "soft", "tfsf"};
const std::vector<std::string> waveform_list = {"gaussian", "ricker", "sine", "modulated"};
const std::vector<std::string> pole_kind_list = {"debye", "drude", "lorentz"};

template <class Enum>
std::optional<Enum> find_named(const std::vector<std::string>& names, const std::string& name) {
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == name) return static_cast<Enum>(i);
    return std::nullopt;
}

} // namespace

const char* name_of(Boundary boundary) {
    return boundary_list[static_cast<std::size_t>(boundary)].c_str();
}
const char* name_of(SourceType type) {
    return source_type_list[static_cast<std::size_t>(type)].c_str();
}
const char* name_of(Waveform waveform) {
    return waveform_list[static_cast<std::size_t>(waveform)].c_str();
}
const char* name_of(Side side) { return side == Side::left ? "left" : "right"; }
const char* name_of(PoleKind kind) {
    return pole_kind_list[static_cast<std::size_t>(kind)].c_str();
}

std::vector<std::string> boundary_names() { return boundary_list; }
std::vector<std::string> source_type_names() { return source_type_list; }
std::vector<std::string> waveform_names() { return waveform_list; }
std::vector<std::string> pole_kind_names() { return pole_kind_list; }

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

std::optional<Boundary> boundary_named(const std::string& name) {
    return find_named<Boundary>(boundary_list, name);
}
std::optional<SourceType> source_type_named(const std::string& name) {
    return find_named<SourceType>(source_type_list, name);
}
std::optional<Waveform> waveform_named(const std::string& name) {
    return find_named<Waveform>(waveform_list, name);
}
std::optional<PoleKind> pole_kind_named(const std::string& name) {
    return find_named<PoleKind>(pole_kind_list, name);
}

//-----------------------------------------------------------------------------
// [SECTION] Derived values
//-----------------------------------------------------------------------------

int Scenario::pml_cells(Side side) const {
    const Boundary end = side == Side::left ? boundary.left : boundary.right;
    return end == Boundary::pml ? boundary.pml_cells : 0;
}

std::vector<double> spectrum_frequencies(const SpectrumSettings& spectrum) {
    std::vector<double> frequencies;
    const int n = spectrum.points;
    for (int i = 0; i < n; ++i) {
        const double fraction = n > 1 ? static_cast<double>(i) / (n - 1) : 0.0;
        frequencies.push_back(spectrum.f_min_hz +
                              fraction * (spectrum.f_max_hz - spectrum.f_min_hz));
    }
    return frequencies;
}

} // namespace lab
