// Pictures taken from the window: captured frames and an animated GIF recorder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
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

// Records frames taken at a fixed interval as a looping animated GIF, written as they
// come into a temporary file beside the target, which replaces the target only when
// the recording is finished: memory holds one frame whatever the length, and an
// unfinished or failed recording leaves no file. Each frame keeps its colours exactly
// when it has at most 256 of them (the engine's named colours and colormaps always
// fit); a frame with more is reduced to 256 by median cut. Every frame is shown at the
// size of the first: a larger one is cropped, a smaller one padded white.
class GifRecorder {
  public:
    // Viewers play delays under 20 ms slower than asked, so shorter intervals become 20 ms.
    GifRecorder(std::string path, int interval_ms);
    ~GifRecorder(); // an unfinished recording is thrown away
    GifRecorder(const GifRecorder&) = delete;
    GifRecorder& operator=(const GifRecorder&) = delete;

    const std::string& path() const { return path_; }
    int interval_ms() const { return interval_ms_; }
    // Whether a frame taken at now_ms (any steady clock) is due: the first always is.
    bool frame_due(long long now_ms) const;
    // Adds a frame taken at now_ms; it plays until the next frame's time. An empty
    // frame is skipped. False once the recording has failed (the reason went to
    // standard error) or was finished.
    bool add_frame(const Frame& frame, long long now_ms);
    std::size_t frame_count() const { return frame_count_; }
    bool failed() const { return failed_; }
    // Why the recording failed, for a status line ("" while it has not).
    const std::string& failure() const { return failure_; }
    // Writes the last frame (shown for one interval) and puts the file in place; false,
    // with the reason on standard error, when no frame was recorded or writing failed.
    bool finish();

  private:
    struct Output; // the temporary file and the encoder writing into it

    bool fail(std::string reason);
    bool write_pending(long long until_ms);

    std::string path_;
    int interval_ms_;
    std::unique_ptr<Output> output_;
    IndexedFrame pending_; // the latest frame, written once its duration is known
    long long pending_ms_ = 0;
    long long first_ms_ = 0;
    std::size_t frame_count_ = 0;
    bool failed_ = false;
    bool finished_ = false;
    std::string failure_;
};

} // namespace rizodozad
