#include "rizodozad/core/gif_writer.h"

#include <gif_lib.h>

#include <cstddef>
#include <memory>

namespace rizodozad::gif {

namespace {

constexpr int bytes_per_colour = 3;
constexpr int background_colour = 0;
constexpr int colour_resolution_bits = 8;
// The application extension that makes viewers loop: NETSCAPE2.0, sub-block 1, count 0.
constexpr char loop_extension_name[] = "NETSCAPE2.0";
constexpr GifByteType loop_forever[] = {1, 0, 0};

int write_to_stream(GifFileType* gif, const GifByteType* bytes, int count) {
    auto* stream = static_cast<std::FILE*>(gif->UserData);
    return static_cast<int>(std::fwrite(bytes, 1, static_cast<std::size_t>(count), stream));
}

struct ColorMapDeleter {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};
using ColorMap = std::unique_ptr<ColorMapObject, ColorMapDeleter>;

// GIF colour tables hold a power of two of colours, at least two.
ColorMap colour_map(const std::vector<std::uint8_t>& palette) {
    const int colours = static_cast<int>(palette.size()) / bytes_per_colour;
    int table_size = 2;
    while (table_size < colours)
        table_size *= 2;
    ColorMap map(GifMakeMapObject(table_size, nullptr));
    if (!map) return map;
    for (int i = 0; i < table_size; ++i) {
        const bool used = i < colours;
        map->Colors[i].Red = used ? palette[i * bytes_per_colour] : 0;
        map->Colors[i].Green = used ? palette[i * bytes_per_colour + 1] : 0;
        map->Colors[i].Blue = used ? palette[i * bytes_per_colour + 2] : 0;
    }
    return map;
}

bool put_loop_extension(GifFileType* gif) {
    return EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
           EGifPutExtensionBlock(gif, sizeof loop_extension_name - 1, loop_extension_name) ==
               GIF_OK &&
           EGifPutExtensionBlock(gif, sizeof loop_forever, loop_forever) == GIF_OK &&
           EGifPutExtensionTrailer(gif) == GIF_OK;
}

bool put_delay(GifFileType* gif, int delay_cs) {
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.DelayTime = delay_cs;
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType bytes[4];
    const auto length = EGifGCBToExtension(&control, bytes);
    return EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), bytes) == GIF_OK;
}

bool put_frame(GifFileType* gif, const IndexedFrame& frame, int delay_cs) {
    const ColorMap map = colour_map(frame.palette);
    if (!map || !put_delay(gif, delay_cs)) return false;
    if (EGifPutImageDesc(gif, 0, 0, frame.width, frame.height, false, map.get()) != GIF_OK)
        return false;
    for (int row = 0; row < frame.height; ++row) {
        auto* line = const_cast<GifPixelType*>(&frame.indices[std::size_t(row) * frame.width]);
        if (EGifPutLine(gif, line, frame.width) != GIF_OK) return false;
    }
    return true;
}

bool put_all(GifFileType* gif, const std::vector<IndexedFrame>& frames,
             const std::vector<int>& delays_cs) {
    EGifSetGifVersion(gif, true);
    if (EGifPutScreenDesc(gif, frames[0].width, frames[0].height, colour_resolution_bits,
                          background_colour, nullptr) != GIF_OK ||
        !put_loop_extension(gif))
        return false;
    for (std::size_t i = 0; i < frames.size(); ++i)
        if (!put_frame(gif, frames[i], delays_cs[i])) return false;
    return true;
}

} // namespace

bool write_animation(std::FILE* stream, const char* file_name,
                     const std::vector<IndexedFrame>& frames, const std::vector<int>& delays_cs) {
    if (stream == nullptr || frames.empty() || delays_cs.size() != frames.size()) {
        std::fprintf(stderr, "Cannot write '%s': no frames or no stream\n", file_name);
        return false;
    }
    int error = 0;
    GifFileType* gif = EGifOpen(stream, write_to_stream, &error);
    if (gif == nullptr) {
        std::fprintf(stderr, "Cannot write '%s': %s\n", file_name, GifErrorString(error));
        return false;
    }
    const bool written = put_all(gif, frames, delays_cs);
    if (!written) error = gif->Error;
    if (EGifCloseFile(gif, &error) != GIF_OK || !written || std::fflush(stream) != 0 ||
        std::ferror(stream)) {
        std::fprintf(stderr, "Cannot write '%s': %s\n", file_name,
                     error != 0 ? GifErrorString(error) : "the stream refused a write");
        return false;
    }
    return true;
}

} // namespace rizodozad::gif
