// Animated GIF files through giflib, written a frame at a time.
#pragma once

#include <cstdio>
#include <string>

#include "rizodozad/core/pictures.h"

struct GifFileType;

namespace rizodozad::gif {

// A looping animation written to an open stream as its frames come.
class AnimationWriter {
  public:
    AnimationWriter(std::FILE* stream, std::string file_name);
    ~AnimationWriter(); // ends giflib's work on the stream if close() was not called
    AnimationWriter(const AnimationWriter&) = delete;
    AnimationWriter& operator=(const AnimationWriter&) = delete;

    // Appends a frame shown for delay_cs hundredths of a second; the first frame fixes
    // the animation's size and every later one must have it. False, with the reason on
    // standard error, when giflib or the stream failed; nothing more is written then.
    bool put_frame(const IndexedFrame& frame, int delay_cs);
    // Ends the file; false, with the reason on standard error, when that failed.
    bool close();

  private:
    bool fail(int giflib_error);
    bool start(const IndexedFrame& first);

    std::FILE* stream_;
    std::string file_name_;
    GifFileType* gif_ = nullptr;
    bool started_ = false;
    bool failed_ = false;
};

} // namespace rizodozad::gif
