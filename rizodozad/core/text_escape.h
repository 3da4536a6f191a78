// Strings made safe for the text syntax of each export format. The engine's bitmap
// font draws bytes as ISO 8859-1 and skips control bytes, so the escapes keep what is
// drawn on screen and drop what is not.
#pragma once

#include <string>

namespace rizodozad::text_escape {

// The inside of a PostScript string "( )": backslashes and parentheses escaped, every byte
// outside printable ASCII as an octal escape, so the string reads back byte for byte.
std::string postscript_string(const std::string& bytes);

// The inside of a PDF literal string "( )" for a Type 1 font in MacRomanEncoding
// (what GL2PS declares): backslashes and parentheses escaped, ISO 8859-1 letters
// carried over to their MacRoman codes as octal escapes, '?' for letters MacRoman lacks.
std::string pdf_string(const std::string& latin1);

// Character data of an SVG (XML) element: markup characters as entities, letters
// above ASCII as numeric character references.
std::string svg_text(const std::string& latin1);

} // namespace rizodozad::text_escape
