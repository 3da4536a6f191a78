#include "lab/solver/sweeps.h"

#include <algorithm>

namespace lab {

void sweep_hy(FieldArrays& f, CellRange nodes) {
    if (nodes.end <= nodes.first) return;
    const std::vector<CoefficientSpan>& spans = f.coefficients.spans();
    double* __restrict hy = f.hy.data();
    const double* __restrict ez = f.ez.data();
    long i = nodes.first;
    for (std::size_t k = f.coefficients.span_at(i); i < nodes.end; ++k) {
        const long stop = std::min(nodes.end, spans[k].end);
        const double db = spans[k].c.db;
        for (long j = i; j < stop; ++j)
            hy[j] = hy[j] + db * (ez[j + 1] - ez[j]);
        i = stop;
    }
}

void sweep_ez(FieldArrays& f, CellRange nodes) {
    if (nodes.end <= nodes.first) return;
    const std::vector<CoefficientSpan>& spans = f.coefficients.spans();
    double* __restrict ez = f.ez.data();
    const double* __restrict hy = f.hy.data();
    long i = nodes.first;
    for (std::size_t k = f.coefficients.span_at(i); i < nodes.end; ++k) {
        const long stop = std::min(nodes.end, spans[k].end);
        const double ca = spans[k].c.ca, cb = spans[k].c.cb;
        for (long j = i; j < stop; ++j)
            ez[j] = ca * ez[j] + cb * (hy[j] - hy[j - 1]);
        i = stop;
    }
}

} // namespace lab
