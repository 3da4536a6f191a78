// Contour tracing: crossings of each level on the grid edges, linked into polylines.
// Plain arithmetic: no OpenGL here.
//
// The linking is that of marching squares: a line leaves a crossing only into the cell
// on the far side of the edge it came along, and inside a cell the crossings are joined
// in pairs. A cell with four crossings (a saddle) is decided by the value at its centre,
// so every crossing is joined once in each cell whose side it lies on.
//
// Two searches find the crossing on a given edge and give the same polylines: one scans
// the whole crossing list (simple, quadratic), the other looks the edge up in an index
// of the crossings by row.
#include <algorithm>
#include <array>
#include <cstddef>
#include <deque>
#include <vector>

#include "rizodozad/surfaces/contours.h"

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
// [SECTION] Cells and the pairing of their crossings
//-----------------------------------------------------------------------------

struct Edge {
    int column;
    int row;
    int direction;
};

struct Cell {
    int row; // grid cell (row, column) lies between grid rows row and row + 1
    int column;
};

bool operator==(const Cell& a, const Cell& b) { return a.row == b.row && a.column == b.column; }

Edge edge_of(const Crossing& c) { return {c.column, c.row, c.direction}; }

// The two cells an edge bounds: above and below a horizontal edge, left and right of a
// vertical one. Either may lie off the grid.
std::array<Cell, 2> cells_beside(const Edge& e) {
    if (e.direction == horizontal) return {{{e.row - 1, e.column}, {e.row, e.column}}};
    return {{{e.row, e.column - 1}, {e.row, e.column}}};
}

Cell far_side(const Edge& e, const Cell& near) {
    const std::array<Cell, 2> cells = cells_beside(e);
    return cells[0] == near ? cells[1] : cells[0];
}

bool on_grid(const Grid& grid, const Cell& c) {
    return c.row >= 0 && c.row < grid.nrows - 1 && c.column >= 0 && c.column < grid.ncols - 1;
}

// A cell's sides in turn around it: top, right, bottom, left. Each corner lies between
// two sides that follow each other: top-left between 3 and 0, top-right between 0 and 1.
constexpr int cell_sides = 4;

std::array<Edge, cell_sides> sides_of(const Cell& c) {
    return {{{c.column, c.row, horizontal},
             {c.column + 1, c.row, vertical},
             {c.column, c.row + 1, horizontal},
             {c.column, c.row, vertical}}};
}

bool edge_crosses(const Grid& grid, const Edge& e, double level) {
    const double a = grid.z[e.row][e.column];
    const double b =
        e.direction == horizontal ? grid.z[e.row][e.column + 1] : grid.z[e.row + 1][e.column];
    return crosses(a, b, level);
}

// Pairs the side of a saddle cell: the two corners on the other side of the level from
// the centre are cut off, each by the segment joining its two sides.
int saddle_partner(const Grid& grid, const Cell& c, int side, double level) {
    const double top_left = grid.z[c.row][c.column];
    const double centre = (top_left + grid.z[c.row][c.column + 1] + grid.z[c.row + 1][c.column] +
                           grid.z[c.row + 1][c.column + 1]) /
                          4;
    const bool top_left_joins_centre = (top_left > level) == (centre > level);
    // top-right and bottom-left cut off: 0-1 and 2-3; else top-left and bottom-right: 0-3, 1-2
    return top_left_joins_centre ? side ^ 1 : cell_sides - 1 - side;
}

// The edge joined to edge `from` inside cell c, if any. A cell has 0, 1, 2 or 4
// crossings: with one (a corner value on the level) the line ends there.
bool partner_edge(const Grid& grid, const Cell& c, const Edge& from, double level, Edge& partner) {
    const std::array<Edge, cell_sides> sides = sides_of(c);
    int from_side = -1;
    int crossing_sides = 0;
    int other_side = -1;
    for (int k = 0; k < cell_sides; ++k) {
        const Edge& e = sides[k];
        const bool same =
            e.column == from.column && e.row == from.row && e.direction == from.direction;
        if (same) from_side = k;
        if (!edge_crosses(grid, e, level)) continue;
        ++crossing_sides;
        if (!same) other_side = k;
    }
    if (from_side < 0) return false;
    if (crossing_sides == 2 && other_side >= 0) {
        partner = sides[other_side];
        return true;
    }
    if (crossing_sides != cell_sides) return false;
    partner = sides[saddle_partner(grid, c, from_side, level)];
    return true;
}

// A start crossing may be reached again only by a chain long enough to close a loop.
bool is_eligible(const Crossing& candidate, std::size_t chain_length) {
    return candidate.mark == mark::free || (candidate.mark == mark::start && chain_length > 2);
}

//-----------------------------------------------------------------------------
// [SECTION] Finding the crossing on an edge
//-----------------------------------------------------------------------------

class ScanSearch {
  public:
    explicit ScanSearch(const Grid&) {}
    void index_level(const std::vector<Crossing>&) {}

    std::size_t find(const Edge& e, const std::vector<Crossing>& crossings) const {
        for (std::size_t k = 0; k < crossings.size(); ++k) {
            const Crossing& c = crossings[k];
            if (c.column == e.column && c.row == e.row && c.direction == e.direction) return k;
        }
        return none;
    }
};

// The crossing list is in edge order (row, then column, then direction), and each edge
// holds at most one crossing of a level, so the list is its own index by edge once the
// first position of every row is known: an edge is searched for only among the few
// crossings of its row.
class IndexedSearch {
  public:
    explicit IndexedSearch(const Grid& grid)
        : nrows_(grid.nrows), row_begin_(static_cast<std::size_t>(nrows_) + 1) {}

    void index_level(const std::vector<Crossing>& crossings) {
        std::size_t k = 0;
        for (int row = 0; row <= nrows_; ++row) {
            while (k < crossings.size() && crossings[k].row < row)
                ++k;
            row_begin_[static_cast<std::size_t>(row)] = k;
        }
    }

    std::size_t find(const Edge& e, const std::vector<Crossing>& crossings) const {
        if (e.row < 0 || e.row >= nrows_) return none;
        const auto row = static_cast<std::size_t>(e.row);
        const auto first = crossings.begin() + static_cast<std::ptrdiff_t>(row_begin_[row]);
        const auto last = crossings.begin() + static_cast<std::ptrdiff_t>(row_begin_[row + 1]);
        const auto before = [](const Crossing& c, const Edge& edge) {
            return c.column < edge.column ||
                   (c.column == edge.column && c.direction < edge.direction);
        };
        const auto found = std::lower_bound(first, last, e, before);
        if (found == last || found->column != e.column || found->direction != e.direction) {
            return none;
        }
        return static_cast<std::size_t>(found - crossings.begin());
    }

  private:
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

// Each polyline starts at the first free crossing and runs forward through the cell
// holding the partner that comes first in the crossing list, then from its start
// backward through the other cell; it is emitted from the backward end forward.
// A closed contour reaches its start again and so holds it twice.
template <class Search> class LevelLinker {
  public:
    LevelLinker(const Grid& grid, double level, std::vector<Crossing>& crossings,
                const Search& search)
        : grid_(grid), level_(level), crossings_(crossings), search_(search) {}

    void link(ContourMatrix& result) {
        for (std::size_t first_free = 0;; ++first_free) {
            while (first_free < crossings_.size() && crossings_[first_free].mark != mark::free)
                ++first_free;
            if (first_free == crossings_.size()) return;
            chain_.assign(1, first_free);
            crossings_[first_free].mark = mark::start;
            std::array<Cell, 2> cells = cells_beside(edge_of(crossings_[first_free]));
            if (joined(first_free, cells[1]) < joined(first_free, cells[0]))
                std::swap(cells[0], cells[1]);
            follow(first_free, cells[0], true);
            follow(first_free, cells[1], false);
            append_polyline(level_, chain_, crossings_, result);
        }
    }

  private:
    // The crossing joined to crossing k inside cell c, if it may be taken now.
    std::size_t joined(std::size_t k, const Cell& c) const {
        Edge partner{};
        if (!on_grid(grid_, c) || !partner_edge(grid_, c, edge_of(crossings_[k]), level_, partner))
            return none;
        const std::size_t found = search_.find(partner, crossings_);
        if (found == none || !is_eligible(crossings_[found], chain_.size())) return none;
        return found;
    }

    // Walks from crossing k into cell c and on, cell by cell, growing one end of the chain.
    void follow(std::size_t k, Cell c, bool forward) {
        for (std::size_t next = joined(k, c); next != none; next = joined(k, c)) {
            crossings_[next].mark = mark::taken;
            if (forward)
                chain_.push_back(next);
            else
                chain_.push_front(next);
            c = far_side(edge_of(crossings_[next]), c);
            k = next;
        }
    }

    const Grid& grid_;
    double level_;
    std::vector<Crossing>& crossings_;
    const Search& search_;
    std::deque<std::size_t> chain_; // positions in crossings_
};

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
        LevelLinker<Search>(grid, level, crossings, search).link(result);
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
