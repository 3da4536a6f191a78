#include "rizodozad/surfaces/grid_fingerprint.h"

#include <array>
#include <cstring>

namespace rizodozad {

namespace {

// Each word passes through xor and a multiplication by an odd constant, both one-to-one,
// so one changed word always changes its lane, and the lanes are folded together the same
// way. Four lanes keep the multiplier busy.
constexpr std::uint64_t multiplier = 0x9E3779B97F4A7C15ull;
constexpr std::size_t lanes = 4;

class Fingerprint {
  public:
    void add(std::uint64_t word) {
        auto& h = lane_[next_];
        h = (h ^ word) * multiplier;
        next_ = (next_ + 1) % lanes;
    }

    void add(const std::vector<double>& values) {
        add(static_cast<std::uint64_t>(values.size()));
        std::size_t i = 0;
        for (; i + lanes <= values.size(); i += lanes) {
            for (std::size_t k = 0; k < lanes; ++k)
                lane_[k] = (lane_[k] ^ bits(values[i + k])) * multiplier;
        }
        for (; i < values.size(); ++i)
            add(bits(values[i]));
    }

    std::uint64_t value() const {
        std::uint64_t h = 0;
        for (std::uint64_t lane : lane_)
            h = (h ^ lane) * multiplier;
        return h;
    }

  private:
    static std::uint64_t bits(double v) {
        std::uint64_t word;
        std::memcpy(&word, &v, sizeof word);
        return word;
    }

    std::array<std::uint64_t, lanes> lane_{1, 2, 3, 4};
    std::size_t next_ = 0;
};

} // namespace

std::uint64_t grid_fingerprint(const std::vector<double>& x, const std::vector<double>& y,
                               const std::vector<std::vector<double>>& z,
                               const std::vector<double>& levels) {
    Fingerprint f;
    f.add(x);
    f.add(y);
    f.add(static_cast<std::uint64_t>(z.size()));
    for (const auto& row : z)
        f.add(row);
    f.add(levels);
    return f.value();
}

} // namespace rizodozad
