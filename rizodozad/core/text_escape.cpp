#include "rizodozad/core/text_escape.h"

#include <iconv.h>

#include <array>
#include <cstdio>

namespace rizodozad::text_escape {

namespace {

constexpr unsigned char first_printable = 0x20;
constexpr unsigned char delete_byte = 0x7F;
constexpr unsigned char first_latin1_letter = 0xA0; // 0x80..0x9F are control codes

// The bitmap font has glyphs for printable ASCII and the ISO 8859-1 letters only.
bool drawn_by_font(unsigned char byte) {
    return (byte >= first_printable && byte < delete_byte) || byte >= first_latin1_letter;
}

// The MacRoman code of an ISO 8859-1 byte, or '?' where MacRoman has no such letter.
unsigned char mac_roman_code(unsigned char latin1) {
    constexpr unsigned char missing = '?';
    iconv_t converter = iconv_open("MACINTOSH", "ISO-8859-1");
    // iconv_open reports failure as (iconv_t)-1.
    // NOLINTNEXTLINE(performance-no-int-to-ptr)
    if (converter == reinterpret_cast<iconv_t>(-1)) return missing;
    char in = static_cast<char>(latin1);
    char out = 0;
    char* in_at = &in;
    char* out_at = &out;
    std::size_t in_left = 1;
    std::size_t out_left = 1;
    const bool converted = iconv(converter, &in_at, &in_left, &out_at, &out_left) == 0;
    iconv_close(converter);
    return converted ? static_cast<unsigned char>(out) : missing;
}

std::string octal_escape(unsigned char code) {
    std::array<char, 5> text{};
    std::snprintf(text.data(), text.size(), "\\%03o", code);
    return text.data();
}

} // namespace

std::string postscript_string(const std::string& bytes) {
    std::string escaped;
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\' || c == '(' || c == ')')
            escaped += {'\\', c};
        else if (byte < first_printable || byte >= delete_byte)
            escaped += octal_escape(byte);
        else
            escaped += c;
    }
    return escaped;
}

std::string pdf_string(const std::string& latin1) {
    std::string escaped;
    for (char c : latin1) {
        const auto byte = static_cast<unsigned char>(c);
        if (!drawn_by_font(byte)) continue;
        if (c == '\\' || c == '(' || c == ')')
            escaped += {'\\', c};
        else if (byte >= first_latin1_letter)
            escaped += octal_escape(mac_roman_code(byte));
        else
            escaped += c;
    }
    return escaped;
}

std::string svg_text(const std::string& latin1) {
    std::string escaped;
    for (char c : latin1) {
        const auto byte = static_cast<unsigned char>(c);
        if (!drawn_by_font(byte)) continue;
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        case '\'':
            escaped += "&apos;";
            break;
        default:
            if (byte >= first_latin1_letter)
                escaped += "&#" + std::to_string(byte) + ";"; // ISO 8859-1 is Unicode's start
            else
                escaped += c;
        }
    }
    return escaped;
}

} // namespace rizodozad::text_escape
