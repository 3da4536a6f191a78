// PNG files through libpng.
#pragma once

#include <cstdio>

#include "rizodozad/core/pictures.h"

namespace rizodozad::png {

// Writes the frame as an 8-bit RGB PNG; false, with the reason on standard error,
// when the frame is empty or libpng or the stream failed.
bool write_frame(std::FILE* stream, const char* file_name, const Frame& frame);

} // namespace rizodozad::png
