// Contour tracing: exact polylines on small grids, the marching-squares property on random
// grids, and the indexed search against the scan.
#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "rizodozad/surfaces/contours.h"
#include "rizodozad/test_hooks.h"

namespace rizodozad {
namespace {

using Values = std::vector<double>;
using Grid = std::vector<std::vector<double>>;

struct Point {
    double x;
    double y;
};

// The matrix of one or more polylines, written block by block.
ContourMatrix blocks(const std::vector<std::pair<double, std::vector<Point>>>& polylines) {
    ContourMatrix m;
    for (const auto& [level, points] : polylines) {
        m[0].push_back(level);
        m[1].push_back(static_cast<double>(points.size()));
        for (const Point& p : points) {
            m[0].push_back(p.x);
            m[1].push_back(p.y);
        }
    }
    return m;
}

// Both searches, which must agree exactly.
ContourMatrix trace_both(const Values& x, const Values& y, const Grid& z, const Values& levels) {
    const ContourMatrix indexed = trace_contours(x, y, z, levels);
    EXPECT_EQ(indexed, trace_contours_by_scan(x, y, z, levels));
    return indexed;
}

const Values three{0, 1, 2};

TEST(TraceContours, ClosedLoopRepeatsItsStart) {
    const Grid peak{{0, 0, 0}, {0, 1, 0}, {0, 0, 0}};
    EXPECT_EQ(trace_both(three, three, peak, {0.5}),
              blocks({{0.5, {{1, 0.5}, {0.5, 1}, {1, 1.5}, {1.5, 1}, {1, 0.5}}}}));
}

TEST(TraceContours, OpenLineRunsBorderToBorder) {
    const Values two{0, 1};
    EXPECT_EQ(trace_both(two, two, {{0, 1}, {0, 1}}, {0.5}), blocks({{0.5, {{0.5, 0}, {0.5, 1}}}}));
    // Coordinates are interpolated between the grid's own x and y values.
    EXPECT_EQ(trace_both({10, 20}, {-1, 3}, {{0, 4}, {0, 4}}, {1}),
              blocks({{1, {{12.5, -1}, {12.5, 3}}}}));
}

// A line runs on through the cell beyond each edge, so an arm below its start is not lost.
TEST(TraceContours, OpenLineKeepsEveryArm) {
    const Grid valley{{1, 1, 1}, {1, 0, 1}, {1, 0, 1}};
    EXPECT_EQ(trace_both(three, three, valley, {0.5}),
              blocks({{0.5, {{1.5, 2}, {1.5, 1}, {1, 0.5}, {0.5, 1}, {0.5, 2}}}}));
}

// In a cell with four crossings the corners on the other side of the level from the
// centre are cut off; a centre on the level counts as below it.
TEST(TraceContours, SaddlesAreDecidedByTheirCentre) {
    const Values two{0, 1};
    const Grid saddle{{0, 1}, {1, 0}}; // centre 0.5
    EXPECT_EQ(trace_both(two, two, saddle, {0.4}),
              blocks({{0.4, {{0.4, 0}, {0, 0.4}}}, {0.4, {{1, 0.6}, {0.6, 1}}}}));
    EXPECT_EQ(trace_both(two, two, saddle, {0.6}),
              blocks({{0.6, {{0.6, 0}, {1, 0.4}}}, {0.6, {{0, 0.6}, {0.4, 1}}}}));

    const Grid saddles{{0, 1, 0}, {1, 0, 1}, {0, 1, 0}};
    EXPECT_EQ(trace_both(three, three, saddles, {0.5}),
              blocks({{0.5, {{0.5, 0}, {1, 0.5}, {1.5, 0}}},
                      {0.5, {{0, 0.5}, {0.5, 1}, {0, 1.5}}},
                      {0.5, {{2, 0.5}, {1.5, 1}, {2, 1.5}}},
                      {0.5, {{1.5, 2}, {1, 1.5}, {0.5, 2}}}}));
}

TEST(TraceContours, GridValueAtTheLevelGivesNoCrossing) {
    const Grid peak{{0, 0, 0}, {0, 1, 0}, {0, 0, 0}};
    EXPECT_EQ(trace_both(three, three, peak, {1}), ContourMatrix{});
    EXPECT_EQ(trace_both(three, three, peak, {0}), ContourMatrix{});
    // Only the edges away from the grid value at the level cross.
    const Grid ramp{{0, 1, 2}, {0, 1, 2}};
    EXPECT_EQ(trace_both(three, {0, 1}, ramp, {1}), ContourMatrix{});
}

TEST(TraceContours, LevelsInTheirOrder) {
    const Grid peak{{0, 0, 0}, {0, 1, 0}, {0, 0, 0}};
    const ContourMatrix m = trace_both(three, three, peak, {0.75, 0.25});
    ASSERT_EQ(m[0].size(), 12u);
    ASSERT_EQ(m[1].size(), 12u);
    EXPECT_EQ(m[0][0], 0.75);
    EXPECT_EQ(m[1][0], 5);
    EXPECT_EQ(m[1][1], 0.75); // a quarter of the way from the peak at (1, 1)
    EXPECT_EQ(m[0][6], 0.25);
    EXPECT_EQ(m[1][6], 5);
    EXPECT_EQ(m[1][7], 0.25);
}

TEST(TraceContours, NothingToTrace) {
    const Grid peak{{0, 0, 0}, {0, 1, 0}, {0, 0, 0}};
    EXPECT_EQ(trace_both(three, three, peak, {5, -5}), ContourMatrix{});
    const ContourMatrix empty = trace_both(three, three, peak, {});
    EXPECT_TRUE(empty[0].empty());
    EXPECT_TRUE(empty[1].empty());
    EXPECT_EQ(trace_both({}, {}, {}, {0.5}), ContourMatrix{});
}

// Only the grid that x, y and every traced row of z cover is traced.
TEST(TraceContours, MismatchedSizesTraceTheCommonGrid) {
    const Grid peak{{0, 0, 0}, {0, 1, 0}, {0, 0, 0}};
    const ContourMatrix full = trace_both(three, three, peak, {0.5});

    // Extra coordinates, extra rows and longer rows are ignored.
    const Grid wider{{0, 0, 0, 9}, {0, 1, 0, 9}, {0, 0, 0, 9}, {9, 9, 9, 9}};
    EXPECT_EQ(trace_both({0, 1, 2, 3, 4}, {0, 1, 2, 3, 4, 5}, peak, {0.5}), full);
    EXPECT_EQ(trace_both(three, three, wider, {0.5}), full);

    // Short x, short y or a short row cuts the grid down to the part they all reach.
    const Values two{0, 1};
    const ContourMatrix corner = blocks({{0.5, {{1, 0.5}, {0.5, 1}}}});
    EXPECT_EQ(trace_both(two, three, peak, {0.5}),
              trace_both(two, three, Grid{{0, 0}, {0, 1}, {0, 0}}, {0.5}));
    EXPECT_EQ(trace_both(three, two, peak, {0.5}),
              trace_both(three, two, Grid{{0, 0, 0}, {0, 1, 0}}, {0.5}));
    EXPECT_EQ(trace_both(three, three, {{0, 0}, {0, 1, 0}, {0, 0, 0}}, {0.5}),
              trace_both(two, three, peak, {0.5}));
    EXPECT_EQ(trace_both(two, two, peak, {0.5}), corner);

    // Nothing is consistent: an empty row, no y, a single column.
    EXPECT_EQ(trace_both(three, three, {{0, 0, 0}, {}, {0, 0, 0}}, {0.5}), ContourMatrix{});
    EXPECT_EQ(trace_both(three, {}, peak, {0.5}), ContourMatrix{});
    EXPECT_EQ(trace_both({0}, three, peak, {0.5}), ContourMatrix{});
}

//-----------------------------------------------------------------------------
// Random grids: the indexed search reproduces the scan exactly
//-----------------------------------------------------------------------------

Grid random_grid(std::mt19937& random, int rows, int cols, int value_count) {
    // Few distinct values, so that many grid values lie exactly on a level and many
    // cells hold four crossings.
    std::uniform_int_distribution<int> value(0, value_count - 1);
    Grid z(static_cast<std::size_t>(rows), Values(static_cast<std::size_t>(cols)));
    for (auto& row : z) {
        for (double& v : row)
            v = value(random);
    }
    return z;
}

Values coordinates(int n, double spacing) {
    Values v;
    for (int i = 0; i < n; ++i)
        v.push_back(i * spacing);
    return v;
}

TEST(TraceContours, IndexedSearchMatchesScanOnRandomGrids) {
    std::mt19937 random(20240611);
    const int sizes[][2] = {{1, 1}, {1, 7}, {7, 1}, {2, 2}, {3, 5}, {8, 8}, {17, 9}, {30, 41}};
    const Values levels{0.5, 1, 1.5, 2.25, -1, 3};
    int polylines = 0;
    for (const auto& size : sizes) {
        for (int values : {2, 3, 4}) {
            for (int repeat = 0; repeat < 5; ++repeat) {
                const Grid z = random_grid(random, size[0], size[1], values);
                const Values x = coordinates(size[1], 0.5);
                const Values y = coordinates(size[0], 2);
                const ContourMatrix indexed = trace_contours(x, y, z, levels);
                ASSERT_EQ(indexed, trace_contours_by_scan(x, y, z, levels))
                    << size[0] << "x" << size[1] << " with " << values << " values";
                ASSERT_EQ(indexed[0].size(), indexed[1].size());
                for (double level : indexed[0])
                    polylines += level == 0.5 || level == 1.5;
            }
        }
    }
    EXPECT_GT(polylines, 100); // the grids really hold contours
}

// Marching squares, checked from the outside on unit-spaced grids whose values are whole
// numbers and whose levels lie between them: every crossing edge is drawn exactly once,
// each segment joins two crossings of one cell (adjacent sides in a saddle), every
// crossing is joined once in each cell it bounds, so open lines end on the border and
// closed ones end where they began.
struct GridEdge {
    int column;
    int row;
    bool vertical;
    bool operator<(const GridEdge& o) const {
        return std::tie(column, row, vertical) < std::tie(o.column, o.row, o.vertical);
    }
    bool operator==(const GridEdge& o) const { return !(*this < o) && !(o < *this); }
};

// A horizontal edge's crossing lies on a grid row, a vertical edge's on a grid column.
GridEdge edge_at(double x, double y) {
    if (y == std::floor(y)) return {static_cast<int>(std::floor(x)), static_cast<int>(y), false};
    return {static_cast<int>(x), static_cast<int>(std::floor(y)), true};
}

using CellId = std::pair<int, int>; // (row, column)

std::vector<CellId> cells_of(const GridEdge& e, int rows, int cols) {
    std::vector<CellId> cells;
    const CellId candidates[] = {
        e.vertical ? CellId{e.row, e.column - 1} : CellId{e.row - 1, e.column}, {e.row, e.column}};
    for (const CellId& c : candidates) {
        if (c.first >= 0 && c.first < rows - 1 && c.second >= 0 && c.second < cols - 1)
            cells.push_back(c);
    }
    return cells;
}

std::set<GridEdge> crossing_edges(const Grid& z, double level) {
    std::set<GridEdge> edges;
    const auto cross = [&](double a, double b) { return (a < level) != (b < level); };
    for (int i = 0; i < static_cast<int>(z.size()); ++i) {
        for (int j = 0; j < static_cast<int>(z[0].size()); ++j) {
            if (j + 1 < static_cast<int>(z[0].size()) && cross(z[i][j], z[i][j + 1]))
                edges.insert({j, i, false});
            if (i + 1 < static_cast<int>(z.size()) && cross(z[i][j], z[i + 1][j]))
                edges.insert({j, i, true});
        }
    }
    return edges;
}

// Returns the number of segments drawn in saddle cells; fails the test where the property
// breaks.
int check_marching_squares(const Grid& z, double level, const ContourMatrix& m) {
    const int rows = static_cast<int>(z.size());
    const int cols = static_cast<int>(z[0].size());
    const std::set<GridEdge> expected = crossing_edges(z, level);
    std::set<GridEdge> drawn;
    std::map<std::pair<GridEdge, CellId>, int> joins;
    std::map<CellId, int> per_cell;
    for (const GridEdge& e : expected) {
        for (const CellId& c : cells_of(e, rows, cols))
            ++per_cell[c];
    }
    int saddles = 0;
    for (std::size_t column = 0; column < m[0].size();) {
        const auto count = static_cast<std::size_t>(m[1][column]);
        std::vector<GridEdge> line;
        for (std::size_t k = column + 1; k <= column + count; ++k)
            line.push_back(edge_at(m[0][k], m[1][k]));
        column += count + 1;
        const bool closed = line.size() > 2 && line.front() == line.back();
        for (std::size_t k = 0; k < line.size() - (closed ? 1 : 0); ++k)
            EXPECT_TRUE(drawn.insert(line[k]).second) << "crossing drawn twice";
        for (std::size_t k = 0; k + 1 < line.size(); ++k) {
            const auto a = cells_of(line[k], rows, cols);
            const auto b = cells_of(line[k + 1], rows, cols);
            std::vector<CellId> common;
            std::set_intersection(a.begin(), a.end(), b.begin(), b.end(),
                                  std::back_inserter(common));
            if (common.size() != 1) {
                ADD_FAILURE() << "a segment leaves its cell";
                continue;
            }
            ++joins[{line[k], common[0]}];
            ++joins[{line[k + 1], common[0]}];
            if (per_cell[common[0]] == 4) {
                ++saddles;
                EXPECT_NE(line[k].vertical, line[k + 1].vertical) << "a saddle joined across";
            }
        }
    }
    EXPECT_EQ(drawn, expected);
    for (const GridEdge& e : expected) {
        for (const CellId& c : cells_of(e, rows, cols))
            EXPECT_EQ((joins[{e, c}]), 1) << "a crossing joined other than once in a cell";
    }
    return saddles;
}

TEST(TraceContours, EveryCrossingIsJoinedOnceInEachOfItsCells) {
    std::mt19937 random(1234);
    std::uniform_int_distribution<int> size(2, 9);
    const Values levels{-0.5, 0.5, 1.5, 2.5, 3.5};
    int saddles = 0;
    for (int repeat = 0; repeat < 300; ++repeat) {
        const int rows = size(random);
        const int cols = size(random);
        Grid z = random_grid(random, rows, cols, 6);
        for (auto& row : z) {
            for (double& v : row)
                v -= 1; // -1 .. 4
        }
        for (double level : levels) {
            const ContourMatrix m =
                trace_both(coordinates(cols, 1), coordinates(rows, 1), z, {level});
            saddles += check_marching_squares(z, level, m);
            if (testing::Test::HasFailure()) FAIL() << "grid " << repeat << ", level " << level;
        }
    }
    EXPECT_GT(saddles, 200); // the grids really hold saddle cells
}

// Every column of a block lies inside the grid's bounding box, and the counts add up.
TEST(TraceContours, BlocksAreWellFormed) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> value(-1, 1);
    Grid z(20, Values(25));
    for (auto& row : z) {
        for (double& v : row)
            v = value(random);
    }
    const Values x = coordinates(25, 1);
    const Values y = coordinates(20, 1);
    const ContourMatrix m = trace_both(x, y, z, {-0.5, 0, 0.5});
    ASSERT_FALSE(m[0].empty());
    std::size_t column = 0;
    while (column < m[0].size()) {
        const double level = m[0][column];
        EXPECT_TRUE(level == -0.5 || level == 0 || level == 0.5);
        const auto count = static_cast<std::size_t>(m[1][column]);
        ASSERT_GE(count, 1u);
        ASSERT_LE(column + count, m[0].size() - 1);
        for (std::size_t k = column + 1; k <= column + count; ++k) {
            EXPECT_GE(m[0][k], 0);
            EXPECT_LE(m[0][k], 24);
            EXPECT_GE(m[1][k], 0);
            EXPECT_LE(m[1][k], 19);
        }
        column += count + 1;
    }
    EXPECT_EQ(column, m[0].size());
}

} // namespace
} // namespace rizodozad
