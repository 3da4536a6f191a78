// Text from a scenario file on its way to a terminal. A key, a probe name or a string in
// the file may hold escape sequences that would retitle the window or clear the screen.
#pragma once

#include <string>

namespace lab {

// The text with its control characters written out: ESC as \x1b, BEL as \x07, the C1
// controls of UTF-8 (U+0080..U+009F) as \u009b; everything else, UTF-8 included, as it is.
std::string printable(const std::string& text);

} // namespace lab
