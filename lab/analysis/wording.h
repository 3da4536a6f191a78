// Counts in messages: "1 frequency", "2 frequencies".
#pragma once

namespace lab {

inline const char* plural(long long count, const char* one, const char* many) {
    return count == 1 ? one : many;
}

} // namespace lab
