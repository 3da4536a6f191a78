// Contour tracing: crossings of each level on the grid edges, linked into polylines.
// Plain arithmetic: no OpenGL here.
//
// Two neighbour searches give the same polylines: one scans the whole crossing list
// for every step (simple, quadratic), the other looks the few candidate edges up in an
// index of the crossings by edge. Both take, among the eligible neighbours, the one
// that comes first in the crossing list, which decides where four crossings share a cell.
#include <algorithm>
#include <array>
#include <cstddef>
#include <deque>
#include <vector>

#include "rizodozad/contours.h"

namespace rizodozad {

namespace {

//-----------------------------------------------------------------------------
// [SECTION] Grid and crossings
//-----------------------------------------------------------------------------

constexpr int horizontal = 0; // the edge from (i, j) to (i, j + 1)
constexpr int vertical = 1;   // the edge from (i, j) to (i + 1, j)
constexpr int edge_directions = 2;

namespace mark {
constexpr int free = 0;
constexpr int taken = 1;
constexpr int start = 2; // start of a polyline, until the polyline closes on it
} // namespace mark

constexpr std::size_t none = static_cast<std::size_t>(-1);

struct Crossing {
    double x;
    double y;
    int column;
    int row;
    int direction;
    int mark;
};

// The part of the grid that x, y and z all cover; rows of z past y and columns past
// x or past the shortest traced row are ignored.
struct Grid {
    const std::vector<double>& x;
    const std::vector<double>& y;
    const std::vector<std::vector<double>>& z;
    int ncols = 0;
    int nrows = 0;

    Grid(const std::vector<double>& x_values, const std::vector<double>& y_values,
         const std::vector<std::vector<double>>& z_values)
        : x(x_values), y(y_values), z(z_values) {
        const std::size_t rows = std::min(y.size(), z.size());
        std::size_t cols = x.size();
        for (std::size_t i = 0; i < rows; ++i)
            cols = std::min(cols, z[i].size());
        nrows = static_cast<int>(rows);
        ncols = static_cast<int>(cols);
    }
};

bool crosses(double a, double b, double level) { return (a - level) * (b - level) < 0; }

constexpr int span_width = 16; // grid points per span of a row

// The lowest and highest grid value that the edges starting in each span of each row
// touch. An edge crosses a level only when one end lies below it and the other above,
// so a span whose values do not straddle the level is passed over for that level.
// A NaN never narrows a span's range wrongly: it either is ignored or makes the range
// NaN, and a NaN range is never passed over.
class SpanRanges {
  public:
    explicit SpanRanges(const Grid& grid)
        : spans_per_row_((grid.ncols + span_width - 1) / span_width),
          low_(static_cast<std::size_t>(spans_per_row_) * grid.nrows), high_(low_.size()) {
        for (int i = 0; i < grid.nrows; ++i) {
            for (int span = 0; span < spans_per_row_; ++span) {
                const int first = span * span_width;
                const int last = std::min(first + span_width, grid.ncols - 1);
                double low = grid.z[i][first];
                double high = low;
                const auto widen = [&](double v) {
                    if (v < low) low = v;
                    if (v > high) high = v;
                };
                for (int j = first; j <= last; ++j)
                    widen(grid.z[i][j]);
                if (i + 1 < grid.nrows) {
                    const int end = std::min(first + span_width, grid.ncols);
                    for (int j = first; j < end; ++j)
                        widen(grid.z[i + 1][j]);
                }
                low_[slot(i, span)] = low;
                high_[slot(i, span)] = high;
            }
        }
    }

    int spans_per_row() const { return spans_per_row_; }

    bool may_cross(int row, int span, double level) const {
        const std::size_t k = slot(row, span);
        return !(level <= low_[k] || level >= high_[k]);
    }

  private:
    std::size_t slot(int row, int span) const {
        return static_cast<std::size_t>(row) * spans_per_row_ + span;
    }

    int spans_per_row_;
    std::vector<double> low_;
    std::vector<double> high_;
};

// Every crossing of the level, row by row and within a row column by column, the
// horizontal edge of a grid point before its vertical edge. A grid value equal to the
// level gives no crossing on the edges that meet it.
std::vector<Crossing> find_crossings(const Grid& grid, const SpanRanges& spans, double level) {
    std::vector<Crossing> crossings;
    const auto& x = grid.x;
    const auto& y = grid.y;
    for (int i = 0; i < grid.nrows; ++i) {
        const auto& row = grid.z[i];
        for (int span = 0; span < spans.spans_per_row(); ++span) {
            if (!spans.may_cross(i, span, level)) continue;
            const int end = std::min((span + 1) * span_width, grid.ncols);
            for (int j = span * span_width; j < end; ++j) {
                const double a = row[j];
                if (j < grid.ncols - 1 && crosses(a, row[j + 1], level)) {
                    const double b = row[j + 1];
                    const double cx = (x[j + 1] - x[j]) * (level - a) / (b - a) + x[j];
                    crossings.push_back({cx, y[i], j, i, horizontal, mark::free});
                }
                if (i < grid.nrows - 1 && crosses(a, grid.z[i + 1][j], level)) {
                    const double b = grid.z[i + 1][j];
                    const double cy = (y[i + 1] - y[i]) * (level - a) / (b - a) + y[i];
                    crossings.push_back({x[j], cy, j, i, vertical, mark::free});
                }
            }
        }
    }
    return crossings;
}

//-----------------------------------------------------------------------------
// [SECTION] Neighbour rule
//-----------------------------------------------------------------------------

struct EdgeSlot {
    int column;
    int row;
    int direction;
};

constexpr int neighbour_slots = 6;

// The edges that bound one of the two cells the given edge bounds.
std::array<EdgeSlot, neighbour_slots> neighbour_edges(const Crossing& c) {
    const int col = c.column;
    const int row = c.row;
    if (c.direction == horizontal) {
        return {{{col, row - 1, horizontal},
                 {col, row + 1, horizontal},
                 {col, row, vertical},
                 {col + 1, row, vertical},
                 {col, row - 1, vertical},
                 {col + 1, row - 1, vertical}}};
    }
    return {{{col + 1, row, vertical},
             {col - 1, row, vertical},
             {col, row, horizontal},
             {col, row + 1, horizontal},
             {col - 1, row, horizontal},
             {col - 1, row + 1, horizontal}}};
}

bool is_neighbour(const Crossing& current, const Crossing& candidate) {
    for (const EdgeSlot& slot : neighbour_edges(current)) {
        if (candidate.column == slot.column && candidate.row == slot.row &&
            candidate.direction == slot.direction) {
            return true;
        }
    }
    return false;
}

// A start crossing may be reached again only by a chain long enough to close a loop.
bool is_eligible(const Crossing& candidate, std::size_t chain_length) {
    return candidate.mark == mark::free || (candidate.mark == mark::start && chain_length > 2);
}

//-----------------------------------------------------------------------------
// [SECTION] Neighbour searches
//-----------------------------------------------------------------------------

class ScanSearch {
  public:
    explicit ScanSearch(const Grid&) {}
    void index_level(const std::vector<Crossing>&) {}

    std::size_t find(const Crossing& current, const std::vector<Crossing>& crossings,
                     std::size_t chain_length) const {
        for (std::size_t k = 0; k < crossings.size(); ++k) {
            if (is_neighbour(current, crossings[k]) && is_eligible(crossings[k], chain_length)) {
                return k;
            }
        }
        return none;
    }
};

// The crossing list is in edge order (row, then column, then direction), and each edge
// holds at most one crossing of a level, so the list is its own index by edge once the
// first position of every row is known: a candidate edge is searched for only among
// the few crossings of its row.
class IndexedSearch {
  public:
    explicit IndexedSearch(const Grid& grid)
        : ncols_(grid.ncols), nrows_(grid.nrows), row_begin_(static_cast<std::size_t>(nrows_) + 1) {
    }

    void index_level(const std::vector<Crossing>& crossings) {
        std::size_t k = 0;
        for (int row = 0; row <= nrows_; ++row) {
            while (k < crossings.size() && crossings[k].row < row)
                ++k;
            row_begin_[static_cast<std::size_t>(row)] = k;
        }
    }

    std::size_t find(const Crossing& current, const std::vector<Crossing>& crossings,
                     std::size_t chain_length) const {
        std::size_t best = none;
        for (const EdgeSlot& edge : neighbour_edges(current)) {
            if (edge.column < 0 || edge.column >= ncols_ || edge.row < 0 || edge.row >= nrows_) {
                continue;
            }
            const std::size_t k = position_of(edge, crossings);
            if (k < best && is_eligible(crossings[k], chain_length)) best = k;
        }
        return best;
    }

  private:
    std::size_t position_of(const EdgeSlot& edge, const std::vector<Crossing>& crossings) const {
        const auto row = static_cast<std::size_t>(edge.row);
        const auto first = crossings.begin() + static_cast<std::ptrdiff_t>(row_begin_[row]);
        const auto last = crossings.begin() + static_cast<std::ptrdiff_t>(row_begin_[row + 1]);
        const auto before = [](const Crossing& c, const EdgeSlot& e) {
            return c.column < e.column || (c.column == e.column && c.direction < e.direction);
        };
        const auto found = std::lower_bound(first, last, edge, before);
        if (found == last || found->column != edge.column || found->direction != edge.direction) {
            return none;
        }
        return static_cast<std::size_t>(found - crossings.begin());
    }

    int ncols_;
    int nrows_;
    std::vector<std::size_t> row_begin_; // row r's crossings: [row_begin_[r], row_begin_[r + 1])
};

//-----------------------------------------------------------------------------
// [SECTION] Linking crossings into polylines
//-----------------------------------------------------------------------------

void append_polyline(double level, const std::deque<std::size_t>& chain,
                     const std::vector<Crossing>& crossings, ContourMatrix& result) {
    if (chain.empty()) return;
    result[0].push_back(level);
    result[1].push_back(static_cast<double>(chain.size()));
    for (std::size_t k : chain) {
        result[0].push_back(crossings[k].x);
        result[1].push_back(crossings[k].y);
    }
}

// Each polyline starts at the first free crossing, runs forward to its end, then from
// its start backward to the other end, and is emitted from the backward end forward.
// A closed contour reaches its start again and so holds it twice.
template <class Search>
void link_level(double level, std::vector<Crossing>& crossings, const Search& search,
                ContourMatrix& result) {
    std::deque<std::size_t> chain; // positions in crossings
    std::size_t first_free = 0;    // marks never return to free, so this only advances
    while (true) {
        while (first_free < crossings.size() && crossings[first_free].mark != mark::free) {
            ++first_free;
        }
        if (first_free == crossings.size()) return;

        chain.clear();
        crossings[first_free].mark = mark::start;
        chain.push_back(first_free);

        for (std::size_t current = first_free;;) {
            const std::size_t next = search.find(crossings[current], crossings, chain.size());
            if (next == none) break;
            crossings[next].mark = mark::taken;
            chain.push_back(next);
            current = next;
        }
        for (std::size_t current = chain.front();;) {
            const std::size_t next = search.find(crossings[current], crossings, chain.size());
            if (next == none) break;
            crossings[next].mark = mark::taken;
            chain.push_front(next);
            current = next;
        }
        append_polyline(level, chain, crossings, result);
    }
}

template <class Search>
ContourMatrix trace_with(const std::vector<double>& x, const std::vector<double>& y,
                         const std::vector<std::vector<double>>& z,
                         const std::vector<double>& levels) {
    ContourMatrix result;
    const Grid grid(x, y, z);
    if (grid.nrows == 0 || grid.ncols == 0) return result;
    const SpanRanges spans(grid);
    Search search(grid);
    for (double level : levels) {
        std::vector<Crossing> crossings = find_crossings(grid, spans, level);
        search.index_level(crossings);
        link_level(level, crossings, search, result);
    }
    return result;
}

} // namespace

//-----------------------------------------------------------------------------
// [SECTION] Public operations
//-----------------------------------------------------------------------------

ContourMatrix trace_contours(std::vector<double> x, std::vector<double> y,
                             std::vector<std::vector<double>> z, std::vector<double> levels) {
    return trace_with<IndexedSearch>(x, y, z, levels);
}

ContourMatrix trace_contours_by_scan(std::vector<double> x, std::vector<double> y,
                                     std::vector<std::vector<double>> z,
                                     std::vector<double> levels) {
    return trace_with<ScanSearch>(x, y, z, levels);
}

} // namespace rizodozad
