#include "lab/view/status_lines.h"

namespace lab::view {

namespace {

constexpr const char* word_separator = " ";
constexpr const char* cut_mark = "...";

std::vector<std::string> split(const std::string& text, const std::string& separator) {
    std::vector<std::string> pieces;
    std::size_t from = 0;
    for (std::size_t at = text.find(separator); at != std::string::npos;
         at = text.find(separator, from)) {
        if (at > from) pieces.push_back(text.substr(from, at - from));
        from = at + separator.size();
    }
    if (from < text.size()) pieces.push_back(text.substr(from));
    return pieces;
}

// As much of the text as fits with the cut mark after it (the mark alone at the least).
std::string cut_short(const std::string& text, double max_px, const TextWidthPx& width_of) {
    std::string kept = text;
    while (!kept.empty() && width_of(kept + cut_mark) > max_px)
        kept.pop_back();
    return kept + cut_mark;
}

// Pieces joined by the separator, a new line whenever the next would not fit; a piece too
// wide alone goes on to the next finer way of breaking.
void pack(const std::vector<std::string>& pieces, const std::string& separator, double max_px,
          const TextWidthPx& width_of, std::vector<std::string>& lines) {
    std::string line;
    for (const std::string& piece : pieces) {
        if (!line.empty() && width_of(line + separator + piece) <= max_px) {
            line += separator + piece;
            continue;
        }
        if (!line.empty()) lines.push_back(line);
        line.clear();
        if (width_of(piece) <= max_px)
            line = piece;
        else if (separator == status_separator)
            pack(split(piece, word_separator), word_separator, max_px, width_of, lines);
        else
            lines.push_back(cut_short(piece, max_px, width_of));
    }
    if (!line.empty()) lines.push_back(line);
}

} // namespace

std::vector<std::string> first_lines(std::vector<std::string> lines, std::size_t max_lines,
                                     double max_px, const TextWidthPx& width_of) {
    if (lines.size() <= max_lines) return lines;
    lines.resize(max_lines);
    if (!lines.empty()) lines.back() = cut_short(lines.back() + " ", max_px, width_of);
    return lines;
}

std::vector<std::string> broken_lines(const std::string& text, double max_px,
                                      const TextWidthPx& width_of) {
    std::vector<std::string> lines;
    pack(split(text, status_separator), status_separator, max_px, width_of, lines);
    return lines;
}

} // namespace lab::view
