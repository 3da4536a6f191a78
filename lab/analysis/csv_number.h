// Numbers as the lab's tables write them: the shortest text that reads back to the same
// double, laid out as printf's "%.17g" lays it out (plain from 1e-4 up to below 1e17, with
// an exponent of at least two digits otherwise). A value whose shortest text needs all 17
// digits is therefore written exactly as "%.17g" writes it; any other loses only the
// digits "%.17g" adds beyond what reading back needs (0.1, not 0.10000000000000001).
#pragma once

#include <cstddef>

namespace lab {

// Room enough for any double: a sign, 17 digits, a point, 4 zeros after it or "e-308".
constexpr std::size_t max_number_chars = 32;

// Writes value at first (no terminating nul) and returns the end. A value that is not
// finite comes out as "inf", "-inf" or "nan".
char* write_number(char* first, double value);

} // namespace lab
