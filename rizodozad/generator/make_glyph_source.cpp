// Writes the C++ source of the glyph data the engine carries (rizodozad/core/glyph_data.h)
// from the 12-pixel Helvetica tables that the GLUT library itself holds, so that no
// glyph is ever written by hand or read back from a picture. Runs at build time on the
// building machine; its output serves every target, the browser's included.
//
// Usage: make_glyph_source OUTPUT.cpp
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

//-----------------------------------------------------------------------------
// [SECTION] The library's font tables
//-----------------------------------------------------------------------------

// The layout of the library's bitmap font record: its name, the number of characters,
// the rows of every bitmap, the character bitmaps (first byte the width, then the rows
// from the bottom) and the pen's place in each bitmap. glutBitmapCharacter draws
// character c as glBitmap(width, rows, origin_x, origin_y, width, 0, bitmap + 1).
struct LibraryFont {
    const char* name;
    int quantity;
    int rows;
    const unsigned char** characters;
    float origin_x;
    float origin_y;
};

constexpr int glyph_count = 256;
constexpr int largest_sensible_rows = 64;
constexpr int bytes_per_line = 16; // of the generated arrays

} // namespace

extern "C" LibraryFont fgFontHelvetica12; // exported by the GLUT library

namespace {

int row_bytes(int width) { return (width + 7) / 8; }

// A record that does not look like a 256-character bitmap font means the library's
// layout is not the one above: better no build than a wrong font.
const char* implausibility(const LibraryFont& font) {
    if (font.name == nullptr || std::strstr(font.name, "-helvetica-medium-r-") == nullptr ||
        std::strstr(font.name, "--12-") == nullptr)
        return "the font names itself otherwise";
    if (font.quantity != glyph_count) return "the font does not have 256 characters";
    if (font.rows <= 0 || font.rows > largest_sensible_rows) return "implausible row count";
    if (font.characters == nullptr) return "no character table";
    for (int c = 0; c < glyph_count; ++c)
        if (font.characters[c] == nullptr) return "a character without a bitmap";
    return nullptr;
}

//-----------------------------------------------------------------------------
// [SECTION] Writing the source
//-----------------------------------------------------------------------------

void write_numbers(std::ostream& out, const std::vector<int>& numbers) {
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        out << (i % bytes_per_line == 0 ? "\n    " : " ") << numbers[i] << ',';
    }
    out << '\n';
}

std::string source_of(const LibraryFont& font) {
    std::vector<int> widths, offsets, bits;
    for (int c = 0; c < glyph_count; ++c) {
        const unsigned char* character = font.characters[c];
        const int width = character[0];
        widths.push_back(width);
        offsets.push_back(static_cast<int>(bits.size()));
        const int size = row_bytes(width) * font.rows;
        for (int i = 0; i < size; ++i)
            bits.push_back(character[1 + i]);
    }
    std::ostringstream out;
    out.precision(9); // every float exactly
    out << "// Generated at build time from the GLUT library's font \"" << font.name
        << "\".\n// Do not edit: the build writes it again.\n"
        << "#include \"rizodozad/core/glyph_data.h\"\n\n"
        << "namespace rizodozad::glyph_data {\n\nnamespace {\n\n"
        << "constexpr std::uint8_t helvetica_12_bits[] = {";
    write_numbers(out, bits);
    out << "};\n\n} // namespace\n\nconst BitmapFont helvetica_12{\n    \"" << font.name
        << "\",\n    " << font.rows << ",\n    " << font.origin_x << ",\n    " << font.origin_y
        << ",\n    {{";
    write_numbers(out, widths);
    out << "    }},\n    {{";
    write_numbers(out, offsets);
    out << "    }},\n    helvetica_12_bits,\n};\n\n} // namespace rizodozad::glyph_data\n";
    return out.str();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.cpp\n", argv[0]);
        return 2;
    }
    if (const char* problem = implausibility(fgFontHelvetica12)) {
        std::fprintf(stderr, "make_glyph_source: unexpected font tables: %s\n", problem);
        return 1;
    }
    std::ofstream out(argv[1], std::ios::binary);
    out << source_of(fgFontHelvetica12);
    out.close();
    if (!out) {
        std::fprintf(stderr, "make_glyph_source: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
