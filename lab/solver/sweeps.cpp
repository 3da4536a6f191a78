#include "lab/solver/sweeps.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

namespace {

// Both updates of nodes first..end-1 of one span, two nodes at a time: Hy[i] from Ez[i] and
// Ez[i+1] before Ez[i] changes, then Ez[i] from Hy[i] and the Hy[i-1] just made. The
// operations are those of the two sweeps, one for one, so the bits are theirs.
// Without SSE2 (the browser's WebAssembly) the same operations run one node at a time.
void step_span(double* ez, double* hy, long first, long end, const CellCoefficients& c) {
    long i = first;
#if defined(__SSE2__)
    const __m128d db = _mm_set1_pd(c.db), ca = _mm_set1_pd(c.ca), cb = _mm_set1_pd(c.cb);
    __m128d left = _mm_set1_pd(hy[first - 1]); // its upper half is Hy[i-1] for the first pair
    for (; i + 1 < end; i += 2) {
        const __m128d e = _mm_loadu_pd(ez + i), e_right = _mm_loadu_pd(ez + i + 1);
        const __m128d h = _mm_add_pd(_mm_loadu_pd(hy + i), _mm_mul_pd(db, _mm_sub_pd(e_right, e)));
        const __m128d h_left = _mm_shuffle_pd(left, h, 1);
        _mm_storeu_pd(hy + i, h);
        _mm_storeu_pd(ez + i, _mm_add_pd(_mm_mul_pd(ca, e), _mm_mul_pd(cb, _mm_sub_pd(h, h_left))));
        left = h;
    }
#endif
    for (; i < end; ++i) {
        hy[i] = hy[i] + c.db * (ez[i + 1] - ez[i]);
        ez[i] = c.ca * ez[i] + c.cb * (hy[i] - hy[i - 1]);
    }
}

} // namespace

void sweep_step(FieldArrays& f, CellRange nodes, long ez_first) {
    if (nodes.end <= nodes.first) return;
    if (ez_first > nodes.first) sweep_hy(f, {nodes.first, ez_first}); // Hy alone there
    const std::vector<CoefficientSpan>& spans = f.coefficients.spans();
    long i = ez_first;
    for (std::size_t k = f.coefficients.span_at(i); i < nodes.end; ++k) {
        const long stop = std::min(nodes.end, spans[k].end);
        step_span(f.ez.data(), f.hy.data(), i, stop, spans[k].c);
        i = stop;
    }
}

} // namespace lab
