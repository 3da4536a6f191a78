// Reducing a frame to a palette: its own colours when they fit, else giflib's median cut.
#include <gif_lib.h>

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "rizodozad/core/pictures.h"

namespace rizodozad {

namespace {

constexpr int max_palette_colours = 256;
constexpr int bytes_per_pixel = 3;

std::uint32_t colour_key(const std::uint8_t* pixel) {
    return (std::uint32_t{pixel[0]} << 16) | (std::uint32_t{pixel[1]} << 8) | pixel[2];
}

std::size_t pixel_count(const Frame& frame) {
    return static_cast<std::size_t>(frame.width) * static_cast<std::size_t>(frame.height);
}

// False, leaving indexed half-filled, when the frame has more than 256 colours.
bool index_exactly(const Frame& frame, IndexedFrame& indexed) {
    std::unordered_map<std::uint32_t, std::uint8_t> index_of;
    const std::size_t pixels = pixel_count(frame);
    indexed.indices.resize(pixels);
    for (std::size_t i = 0; i < pixels; ++i) {
        const std::uint8_t* pixel = &frame.rgb[i * bytes_per_pixel];
        const auto [entry, added] = index_of.try_emplace(
            colour_key(pixel), static_cast<std::uint8_t>(index_of.size() % max_palette_colours));
        if (added) {
            if (index_of.size() > max_palette_colours) return false;
            indexed.palette.insert(indexed.palette.end(), pixel, pixel + bytes_per_pixel);
        }
        indexed.indices[i] = entry->second;
    }
    return true;
}

// False when giflib could not allocate its work space.
bool index_by_median_cut(const Frame& frame, IndexedFrame& indexed) {
    const std::size_t pixels = pixel_count(frame);
    std::vector<GifByteType> red(pixels), green(pixels), blue(pixels);
    for (std::size_t i = 0; i < pixels; ++i) {
        red[i] = frame.rgb[i * bytes_per_pixel];
        green[i] = frame.rgb[i * bytes_per_pixel + 1];
        blue[i] = frame.rgb[i * bytes_per_pixel + 2];
    }
    int colours = max_palette_colours;
    std::vector<GifColorType> map(max_palette_colours);
    indexed.indices.assign(pixels, 0);
    if (GifQuantizeBuffer(static_cast<unsigned>(frame.width), static_cast<unsigned>(frame.height),
                          &colours, red.data(), green.data(), blue.data(), indexed.indices.data(),
                          map.data()) != GIF_OK)
        return false;
    indexed.palette.clear();
    for (const GifColorType& c : map)
        indexed.palette.insert(indexed.palette.end(), {c.Red, c.Green, c.Blue});
    return true;
}

} // namespace

IndexedFrame index_colours(const Frame& frame) {
    IndexedFrame indexed;
    if (frame.width <= 0 || frame.height <= 0 ||
        frame.rgb.size() < pixel_count(frame) * bytes_per_pixel)
        return indexed;
    indexed.width = frame.width;
    indexed.height = frame.height;
    if (index_exactly(frame, indexed)) return indexed;
    indexed.palette.clear();
    if (index_by_median_cut(frame, indexed)) return indexed;
    return IndexedFrame{};
}

} // namespace rizodozad
