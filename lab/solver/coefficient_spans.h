// Update coefficients by span rather than by cell, in the usual lossy form:
//   Ez <- ca Ez + cb (Hy[i] - Hy[i-1]),   Hy <- Hy + db (Ez[i+1] - Ez[i]).
// Layers are uniform stretches and most of a line is vacuum, so a sweep holds one span's
// three numbers in registers instead of streaming three arrays beside the fields.
#pragma once

#include <cstddef>
#include <vector>

#include "lab/scenario/cell_coefficients.h"
#include "lab/scenario/discretisation.h"

namespace lab {

// Cells first..end-1 share their coefficients.
struct CoefficientSpan {
    long first = 0, end = 0;
    CellCoefficients c{};
};

class CoefficientSpans {
  public:
    CoefficientSpans() = default;
    explicit CoefficientSpans(const Discretisation& grid);

    // The coefficients of one cell: ca and cb of its Ez node, db of the Hy node to its right.
    const CellCoefficients& at(long cell) const { return spans_[span_at(cell)].c; }
    // Index of the span holding the cell (the cell must lie on the grid).
    std::size_t span_at(long cell) const;
    const std::vector<CoefficientSpan>& spans() const { return spans_; }

  private:
    std::vector<CoefficientSpan> spans_; // consecutive, from cell 0 to the last
};

} // namespace lab
