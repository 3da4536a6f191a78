#include "lab/scenario/number_text.h"

#include <cstdio>
#include <cstdlib>

namespace lab {

std::string exact_text(double value) {
    constexpr int round_trip_digits = 17; // enough for any double
    char text[32];
    for (int digits = 1; digits <= round_trip_digits; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, value);
        if (std::strtod(text, nullptr) == value) break;
    }
    return text;
}

} // namespace lab
