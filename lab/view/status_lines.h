// The status line and the news under it broken into lines that fit the window: at the
// wide gaps between its fields first, then between words. Plain text arithmetic, tested
// without a window.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace lab::view {

using TextWidthPx = std::function<double(const std::string&)>;

// The fields of the status line stand this far apart.
constexpr const char* status_separator = "   ";

// The text in lines each no wider than max_px by width_of: whole fields (between
// status_separator) as long as they fit, a field too wide for a line of its own broken
// between words, and a word too wide for a line of its own cut short with "...". Nothing
// for an empty text.
std::vector<std::string> broken_lines(const std::string& text, double max_px,
                                      const TextWidthPx& width_of);

// The first max_lines of the lines; when some are left out, the last one kept ends in
// "..." (cut as far as it must to stay within max_px) to say so.
std::vector<std::string> first_lines(std::vector<std::string> lines, std::size_t max_lines,
                                     double max_px, const TextWidthPx& width_of);

} // namespace lab::view
