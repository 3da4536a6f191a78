// Pictures as RGB pixels: an EPS file rendered by Ghostscript, PNG files read and
// written through ImageMagick, and the comparison of two pictures.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb; // rows from the top, three bytes per pixel

    bool empty() const { return rgb.empty(); }
};

// Renders an EPS file into a PNG file at 72 dots per inch, cropped to its bounding box.
bool render_eps(const std::string& eps_path, const std::string& png_path);

// The pixels of a PNG file; an empty image when it cannot be read.
Image read_png(const std::string& png_path);
bool write_png(const Image& image, const std::string& png_path);

// Root-mean-square difference over every colour channel, in 0..255; nothing when the
// sizes differ.
std::optional<double> rms_difference(const Image& a, const Image& b);

// The baseline faded towards white, with every pixel that differs visibly in red.
Image difference_image(const Image& baseline, const Image& picture);

} // namespace testsupport
