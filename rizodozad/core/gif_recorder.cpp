// The animated GIF recorder: each frame indexed as it comes and written out once the
// next one tells how long it lasts.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <string>
#include <utility>

#include "rizodozad/core/atomic_file.h"
#include "rizodozad/core/gif_writer.h"
#include "rizodozad/core/pictures.h"

namespace rizodozad {

namespace {

constexpr int shortest_interval_ms = 20;
constexpr double ms_per_gif_delay_unit = 10; // GIF delays count hundredths of a second
constexpr std::uint8_t padding_level = 255;  // white, the engine's background
constexpr int bytes_per_pixel = 3;
constexpr long long longest_delay_cs = 65535; // the field has 16 bits

bool complete(const Frame& frame) {
    return frame.width > 0 && frame.height > 0 &&
           frame.rgb.size() >= std::size_t(frame.width) * frame.height * bytes_per_pixel;
}

// The frame cut or padded to width x height from its top left corner.
Frame fitted(const Frame& frame, int width, int height) {
    if (frame.width == width && frame.height == height) return frame;
    Frame fit{
        width, height,
        std::vector<std::uint8_t>(std::size_t(width) * height * bytes_per_pixel, padding_level)};
    const auto row_bytes = std::size_t(std::min(width, frame.width)) * bytes_per_pixel;
    for (int row = 0; row < std::min(height, frame.height); ++row)
        std::copy_n(&frame.rgb[std::size_t(row) * frame.width * bytes_per_pixel], row_bytes,
                    &fit.rgb[std::size_t(row) * width * bytes_per_pixel]);
    return fit;
}

// After a refused write: the stream's reason, or giflib's when the stream had none.
std::string write_failure() {
    return errno != 0 ? std::strerror(errno) : "the GIF encoder failed (see standard error)";
}

} // namespace

struct GifRecorder::Output {
    explicit Output(const std::string& path) : file(path), writer(file.stream(), path) {}
    AtomicFile file;
    gif::AnimationWriter writer; // ends before the file it writes into
};

GifRecorder::GifRecorder(std::string path, int interval_ms)
    : path_(std::move(path)), interval_ms_(std::max(interval_ms, shortest_interval_ms)) {}

GifRecorder::~GifRecorder() = default;

bool GifRecorder::frame_due(long long now_ms) const {
    return frame_count_ == 0 || now_ms - pending_ms_ >= interval_ms_;
}

bool GifRecorder::fail(std::string reason) {
    if (!failed_) failure_ = std::move(reason);
    failed_ = true;
    output_.reset(); // the temporary goes; the target stays as it was
    return false;
}

// Frames last from their time to the next one's, each rounded on the common time line
// so that rounding errors do not add up; a clock that stepped back gives no negative delay.
bool GifRecorder::write_pending(long long until_ms) {
    const auto units = [this](long long ms) {
        return std::llround(double(ms - first_ms_) / ms_per_gif_delay_unit);
    };
    const long long delay = std::clamp(units(until_ms) - units(pending_ms_), 0LL, longest_delay_cs);
    errno = 0; // a stream that refused a write leaves its reason here
    return output_->writer.put_frame(pending_, static_cast<int>(delay)) || fail(write_failure());
}

bool GifRecorder::add_frame(const Frame& frame, long long now_ms) {
    if (failed_ || finished_) return false;
    if (!complete(frame)) return true;
    IndexedFrame indexed = frame_count_ == 0
                               ? index_colours(frame)
                               : index_colours(fitted(frame, pending_.width, pending_.height));
    if (indexed.indices.empty()) return true;
    if (frame_count_ == 0) {
        output_ = std::make_unique<Output>(path_);
        if (output_->file.stream() == nullptr) {
            std::fprintf(stderr, "Cannot open '%s': %s\n", path_.c_str(),
                         output_->file.error_text());
            return fail(output_->file.error_text());
        }
        first_ms_ = now_ms;
    } else if (!write_pending(now_ms)) {
        return false;
    }
    pending_ = std::move(indexed);
    pending_ms_ = now_ms;
    ++frame_count_;
    return true;
}

bool GifRecorder::finish() {
    if (failed_ || finished_) return false;
    finished_ = true;
    if (frame_count_ == 0) {
        std::fprintf(stderr, "Cannot write '%s': no frame was recorded\n", path_.c_str());
        failure_ = "no frame was recorded";
        return false;
    }
    if (!write_pending(pending_ms_ + interval_ms_)) return false;
    errno = 0;
    if (!output_->writer.close()) return fail(write_failure());
    if (!output_->file.commit()) {
        std::fprintf(stderr, "Cannot write '%s': %s\n", path_.c_str(), output_->file.error_text());
        return fail(output_->file.error_text());
    }
    output_.reset();
    pending_ = IndexedFrame{};
    return true;
}

} // namespace rizodozad
