// Pictures taken from the window: captured frames and an animated GIF recorder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace rizodozad {

// An image of 8-bit red, green and blue, rows from the top down.
struct Frame {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb; // 3 bytes per pixel, width * height pixels
};

// A frame as a palette of at most 256 colours and one palette index per pixel.
struct IndexedFrame {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> palette; // 3 bytes per colour
    std::vector<std::uint8_t> indices;
};

// The frame's own colours when it has at most 256 of them, which keeps them exact;
// otherwise 256 colours chosen by median cut. An empty or short frame gives an empty one.
IndexedFrame index_colours(const Frame& frame);

// The width x height pixels at the bottom left of the current GL context's back buffer,
// where a picture is drawn before a swap shows it. Reading the front buffer does not
// give what the window shows on every driver; ZarIdor::capture_picture() reads at the
// right moment.
Frame capture_frame(int width, int height);

// Collects frames taken at a fixed interval and writes them as a looping animated GIF.
// Each frame keeps its colours exactly when it has at most 256 of them (the engine's
// named colours and colormaps always fit); a frame with more is reduced to 256 by
// median cut. Frames are held as one palette index per pixel until saved. Every frame
// is shown at the size of the first: a larger one is cropped, a smaller one padded white.
class GifRecorder {
  public:
    // Viewers play delays under 20 ms slower than asked, so shorter intervals become 20 ms.
    explicit GifRecorder(int interval_ms);

    int interval_ms() const { return interval_ms_; }
    // Whether a frame taken at now_ms (any steady clock) is due: the first always is.
    bool frame_due(long long now_ms) const;
    // Adds a frame taken at now_ms; it plays until the next frame's time. An empty
    // frame is ignored.
    void add_frame(const Frame& frame, long long now_ms);
    std::size_t frame_count() const { return frames_.size(); }
    void clear();

    // Writes the animation to an open stream; false, with the reason on standard error
    // naming file_name, when there is no frame or the stream refused a write.
    bool write(std::FILE* stream, const char* file_name) const;
    // Writes the animation to path through a temporary file renamed into place; false,
    // with the reason on standard error, when nothing or not all could be written.
    bool save(const std::string& path) const;

  private:
    int interval_ms_;
    std::vector<IndexedFrame> frames_;
    std::vector<long long> times_ms_;
};

} // namespace rizodozad
