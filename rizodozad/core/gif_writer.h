// Animated GIF files through giflib.
#pragma once

#include <cstdio>
#include <vector>

#include "rizodozad/pictures.h"

namespace rizodozad::gif {

// Writes frames of one size as a GIF that loops forever, frame i shown for
// delays_cs[i] hundredths of a second; false, with the reason on standard error,
// when giflib or the stream failed.
bool write_animation(std::FILE* stream, const char* file_name,
                     const std::vector<IndexedFrame>& frames, const std::vector<int>& delays_cs);

} // namespace rizodozad::gif
