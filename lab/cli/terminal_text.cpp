#include "lab/cli/terminal_text.h"

#include <cstdio>

namespace lab {

namespace {

constexpr unsigned char delete_character = 0x7f;
constexpr unsigned char utf8_c1_lead = 0xc2; // U+0080..U+00BF are 0xc2 0x80..0xbf
constexpr unsigned char c1_first = 0x80;
constexpr unsigned char c1_last = 0x9f;

std::string escaped(const char* format, unsigned code) {
    char text[8];
    std::snprintf(text, sizeof text, format, code);
    return text;
}

} // namespace

std::string printable(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0u;
        if (byte < 0x20 || byte == delete_character) {
            out += escaped("\\x%02x", byte);
        } else if (byte == utf8_c1_lead && next >= c1_first && next <= c1_last) {
            out += escaped("\\u%04x", next);
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace lab
