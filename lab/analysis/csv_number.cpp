#include "lab/analysis/csv_number.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>

namespace lab {

namespace {

// "%.17g" writes a value without an exponent when its decimal exponent X has
// plain_lowest_exponent <= X < significant_digits.
constexpr int plain_lowest_exponent = -4;
constexpr int significant_digits = 17;

// The decimal exponent of a text such as "-1.25e-05".
int exponent_of(const char* exponent_mark, const char* end) {
    const char* digits = exponent_mark + 1;
    if (*digits == '+') ++digits;
    int exponent = 0;
    std::from_chars(digits, end, exponent);
    return exponent;
}

// The digits of "d.ddd" (the point left out), a sign not included.
char* copy_digits(const char* mantissa, const char* mantissa_end, char* out) {
    for (const char* c = mantissa; c != mantissa_end; ++c)
        if (*c != '.') *out++ = *c;
    return out;
}

// digits times 10^(exponent - digit count + 1), written without an exponent.
char* plain_layout(const char* digits, int digit_count, int exponent, char* out) {
    if (exponent < 0) {
        *out++ = '0';
        *out++ = '.';
        out = std::fill_n(out, -exponent - 1, '0');
        return std::copy_n(digits, digit_count, out);
    }
    const int whole_digits = exponent + 1;
    if (digit_count <= whole_digits) {
        out = std::copy_n(digits, digit_count, out);
        return std::fill_n(out, whole_digits - digit_count, '0');
    }
    out = std::copy_n(digits, whole_digits, out);
    *out++ = '.';
    return std::copy_n(digits + whole_digits, digit_count - whole_digits, out);
}

// The value as "d.ddde+XX" with the fewest digits that read back to it. The browser's C++
// library has no floating-point to_chars: there the shortest precision that reads back is
// searched for, which gives the same digits.
char* shortest_scientific(char* first, char* last, double value) {
#if defined(__cpp_lib_to_chars)
    return std::to_chars(first, last, value, std::chars_format::scientific).ptr;
#else
    const auto size = static_cast<std::size_t>(last - first);
    int written = 0;
    for (int precision = 0; precision < significant_digits; ++precision) {
        written = std::snprintf(first, size, "%.*e", precision, value);
        if (std::strtod(first, nullptr) == value) break;
    }
    return first + written;
#endif
}

} // namespace

char* write_number(char* first, double value) {
    char text[max_number_chars]; // value as "d.ddde+XX", the shortest that reads back
    const char* const begin = text;
    const char* const end = shortest_scientific(text, text + sizeof text, value);
    const char* const exponent_mark = std::find(begin, end, 'e');
    if (exponent_mark == end) return std::copy(begin, end, first); // inf, nan
    const int exponent = exponent_of(exponent_mark, end);
    if (exponent < plain_lowest_exponent || exponent >= significant_digits)
        return std::copy(begin, end, first);
    const bool negative = *begin == '-';
    char digits[significant_digits];
    const char* const digits_end = copy_digits(begin + negative, exponent_mark, digits);
    if (negative) *first++ = '-';
    return plain_layout(digits, static_cast<int>(digits_end - digits), exponent, first);
}

} // namespace lab
