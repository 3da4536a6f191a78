#include "tests/pictures.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace testsupport {

namespace {

// The ImageMagick binary by its full path: /usr/local/bin may hold a stand-in.
constexpr const char* convert_binary = "/usr/bin/convert";
constexpr int max_channel = 255;
constexpr int visible_difference = 32; // per channel, out of 255
constexpr int fade_share = 4;          // a faded pixel keeps a quarter of its darkness

using Pipe = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

std::string quoted(const std::string& path) { return "'" + path + "'"; }

// Reads one number of a PPM header, skipping blanks and comments.
bool read_header_number(std::FILE* in, int& value) {
    int c = std::fgetc(in);
    while (c != EOF && (std::isspace(c) || c == '#')) {
        if (c == '#')
            while (c != EOF && c != '\n')
                c = std::fgetc(in);
        c = std::fgetc(in);
    }
    if (c == EOF || !std::isdigit(c)) return false;
    value = 0;
    while (c != EOF && std::isdigit(c)) {
        value = value * 10 + (c - '0');
        c = std::fgetc(in);
    }
    return true; // the single blank after the number is consumed
}

Image read_ppm(std::FILE* in) {
    Image image;
    int max_value = 0;
    if (std::fgetc(in) != 'P' || std::fgetc(in) != '6') return {};
    if (!read_header_number(in, image.width) || !read_header_number(in, image.height) ||
        !read_header_number(in, max_value) || max_value != max_channel)
        return {};
    image.rgb.resize(static_cast<std::size_t>(image.width) * image.height * 3);
    if (std::fread(image.rgb.data(), 1, image.rgb.size(), in) != image.rgb.size()) return {};
    return image;
}

} // namespace

bool render_eps(const std::string& eps_path, const std::string& png_path) {
    const std::string command =
        "gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -dEPSCrop -r72 -sOutputFile=" +
        quoted(png_path) + " " + quoted(eps_path);
    return std::system(command.c_str()) == 0;
}

Image read_png(const std::string& png_path) {
    const std::string command =
        std::string(convert_binary) + " " + quoted(png_path) + " -depth 8 ppm:- 2>/dev/null";
    Pipe pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) return {};
    Image image = read_ppm(pipe.get());
    if (pclose(pipe.release()) != 0) return {};
    return image;
}

bool write_png(const Image& image, const std::string& png_path) {
    const std::string command = std::string(convert_binary) + " ppm:- " + quoted(png_path);
    Pipe pipe(popen(command.c_str(), "w"), pclose);
    if (!pipe) return false;
    std::fprintf(pipe.get(), "P6\n%d %d\n%d\n", image.width, image.height, max_channel);
    const bool written =
        std::fwrite(image.rgb.data(), 1, image.rgb.size(), pipe.get()) == image.rgb.size();
    return pclose(pipe.release()) == 0 && written;
}

std::optional<double> rms_difference(const Image& a, const Image& b) {
    if (a.width != b.width || a.height != b.height || a.rgb.size() != b.rgb.size())
        return std::nullopt;
    if (a.rgb.empty()) return 0.0;
    double sum = 0;
    for (std::size_t i = 0; i < a.rgb.size(); ++i) {
        const double d = static_cast<double>(a.rgb[i]) - static_cast<double>(b.rgb[i]);
        sum += d * d;
    }
    return std::sqrt(sum / static_cast<double>(a.rgb.size()));
}

Image difference_image(const Image& baseline, const Image& picture) {
    Image diff = baseline;
    const bool comparable = picture.rgb.size() == baseline.rgb.size();
    for (std::size_t p = 0; p + 2 < diff.rgb.size(); p += 3) {
        int largest = comparable ? 0 : max_channel;
        for (std::size_t c = 0; c < 3 && comparable; ++c)
            largest = std::max(largest, std::abs(baseline.rgb[p + c] - picture.rgb[p + c]));
        for (std::size_t c = 0; c < 3; ++c) {
            const int faded = max_channel - (max_channel - baseline.rgb[p + c]) / fade_share;
            const int red = c == 0 ? max_channel : 0;
            diff.rgb[p + c] =
                static_cast<unsigned char>(largest > visible_difference ? red : faded);
        }
    }
    return diff;
}

} // namespace testsupport
