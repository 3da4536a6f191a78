#include "rizodozad/core/png_writer.h"

#include <png.h>

#include <cstddef>
#include <cstring>

namespace rizodozad::png {

namespace {

constexpr int bytes_per_pixel = 3;
constexpr int keep_8_bit = 0;

} // namespace

bool write_frame(std::FILE* stream, const char* file_name, const Frame& frame) {
    const std::size_t needed =
        std::size_t(frame.width) * std::size_t(frame.height) * bytes_per_pixel;
    if (stream == nullptr || frame.width <= 0 || frame.height <= 0 || frame.rgb.size() < needed) {
        std::fprintf(stderr, "Cannot write '%s': no picture or no stream\n", file_name);
        return false;
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(frame.width);
    image.height = static_cast<png_uint_32>(frame.height);
    image.format = PNG_FORMAT_RGB;
    const png_int_32 row_stride = frame.width * bytes_per_pixel; // positive: top row first
    const bool written = png_image_write_to_stdio(&image, stream, keep_8_bit, frame.rgb.data(),
                                                  row_stride, nullptr) != 0;
    const bool flushed = written && std::fflush(stream) == 0 && !std::ferror(stream);
    if (!written || !flushed) {
        std::fprintf(stderr, "Cannot write '%s': %s\n", file_name,
                     written ? "the stream refused a write" : image.message);
    }
    png_image_free(&image);
    return written && flushed;
}

} // namespace rizodozad::png
