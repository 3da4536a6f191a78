// The fingerprint that decides whether contour lines are traced again.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "rizodozad/surfaces/grid_fingerprint.h"

namespace {

using Grid = std::vector<std::vector<double>>;

struct Data {
    std::vector<double> x{0, 1, 2};
    std::vector<double> y{0, 1};
    Grid z{{0, 1, 2}, {3, std::numeric_limits<double>::quiet_NaN(), 5}};
    std::vector<double> levels{0.5, 2.5};

    std::uint64_t fingerprint() const { return rizodozad::grid_fingerprint(x, y, z, levels); }
};

TEST(GridFingerprint, SameDataSameFingerprint) {
    const Data a;
    const Data b; // separate copies, NaN included
    EXPECT_EQ(a.fingerprint(), b.fingerprint());
}

TEST(GridFingerprint, AnyChangeOfValueOrShapeIsSeen) {
    const std::uint64_t original = Data{}.fingerprint();
    // Every single value of every sequence, nudged by the smallest step.
    Data d;
    std::vector<double*> values;
    for (auto* v : {&d.x, &d.y, &d.levels})
        for (double& e : *v)
            values.push_back(&e);
    for (auto& row : d.z)
        for (double& e : row)
            values.push_back(&e);
    for (double* v : values) {
        const double kept = *v;
        *v = std::isnan(kept) ? 0.0 : std::nextafter(kept, 1e9);
        EXPECT_NE(d.fingerprint(), original);
        *v = kept;
    }
    EXPECT_EQ(d.fingerprint(), original);
    Data signed_zero;
    signed_zero.x[0] = -0.0;
    EXPECT_NE(signed_zero.fingerprint(), original);
    Data moved; // the same values, one moved from the first row to the second
    moved.z = {{0, 1}, {2, 3, std::numeric_limits<double>::quiet_NaN(), 5}};
    EXPECT_NE(moved.fingerprint(), original);
    Data level_to_y; // the same values, one moved from the levels to y
    level_to_y.y.push_back(0.5);
    level_to_y.levels = {2.5};
    EXPECT_NE(level_to_y.fingerprint(), original);
}

} // namespace
