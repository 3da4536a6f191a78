// The animated GIF recorder: frames indexed as they come, written on request.
#include <algorithm>
#include <cmath>
#include <cstddef>

#include "rizodozad/core/atomic_file.h"
#include "rizodozad/core/gif_writer.h"
#include "rizodozad/pictures.h"

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

// Each frame lasts until the next one's time, rounded on the common time line so
// that rounding errors do not add up; the last lasts one interval.
std::vector<int> frame_delays_cs(const std::vector<long long>& times_ms, int interval_ms) {
    std::vector<int> delays;
    const auto units = [&](long long ms) {
        return std::llround(double(ms - times_ms.front()) / ms_per_gif_delay_unit);
    };
    // A clock that stepped back must not give a negative delay.
    for (std::size_t i = 0; i + 1 < times_ms.size(); ++i)
        delays.push_back(
            int(std::clamp(units(times_ms[i + 1]) - units(times_ms[i]), 0LL, longest_delay_cs)));
    delays.push_back(int(std::lround(interval_ms / ms_per_gif_delay_unit)));
    return delays;
}

} // namespace

GifRecorder::GifRecorder(int interval_ms)
    : interval_ms_(std::max(interval_ms, shortest_interval_ms)) {}

bool GifRecorder::frame_due(long long now_ms) const {
    return times_ms_.empty() || now_ms - times_ms_.back() >= interval_ms_;
}

void GifRecorder::add_frame(const Frame& frame, long long now_ms) {
    if (!complete(frame)) return;
    IndexedFrame indexed = frames_.empty()
                               ? index_colours(frame)
                               : index_colours(fitted(frame, frames_[0].width, frames_[0].height));
    if (indexed.indices.empty()) return;
    frames_.push_back(std::move(indexed));
    times_ms_.push_back(now_ms);
}

void GifRecorder::clear() {
    frames_.clear();
    times_ms_.clear();
}

bool GifRecorder::write(std::FILE* stream, const char* file_name) const {
    if (frames_.empty()) {
        std::fprintf(stderr, "Cannot write '%s': no frame was recorded\n", file_name);
        return false;
    }
    return gif::write_animation(stream, file_name, frames_,
                                frame_delays_cs(times_ms_, interval_ms_));
}

bool GifRecorder::save(const std::string& path) const {
    AtomicFile file(path);
    if (file.stream() == nullptr) {
        std::fprintf(stderr, "Cannot open '%s': %s\n", path.c_str(), file.error_text());
        return false;
    }
    if (!write(file.stream(), path.c_str())) return false;
    if (file.commit()) return true;
    std::fprintf(stderr, "Cannot write '%s': %s\n", path.c_str(), file.error_text());
    return false;
}

} // namespace rizodozad
