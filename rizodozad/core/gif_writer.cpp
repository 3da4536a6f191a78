#include "rizodozad/core/gif_writer.h"

#include <gif_lib.h>

#include <cstddef>
#include <memory>
#include <utility>

namespace rizodozad::gif {

namespace {

constexpr int bytes_per_colour = 3;
constexpr int background_colour = 0;
constexpr int colour_resolution_bits = 8;
// The application extension that makes viewers loop: NETSCAPE2.0, sub-block 1, count 0.
constexpr char loop_extension_name[] = "NETSCAPE2.0";
constexpr GifByteType loop_forever[] = {1, 0, 0};
constexpr int graphics_control_bytes = 4;

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
        const std::size_t at = static_cast<std::size_t>(i) * bytes_per_colour;
        map->Colors[i].Red = used ? palette[at] : 0;
        map->Colors[i].Green = used ? palette[at + 1] : 0;
        map->Colors[i].Blue = used ? palette[at + 2] : 0;
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
    GifByteType bytes[graphics_control_bytes];
    const auto length = EGifGCBToExtension(&control, bytes);
    return EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), bytes) == GIF_OK;
}

bool put_image(GifFileType* gif, const IndexedFrame& frame) {
    const ColorMap map = colour_map(frame.palette);
    if (!map || EGifPutImageDesc(gif, 0, 0, frame.width, frame.height, false, map.get()) != GIF_OK)
        return false;
    for (int row = 0; row < frame.height; ++row) {
        // giflib takes the line as writable but only reads it.
        auto* line = const_cast<GifPixelType*>(&frame.indices[std::size_t(row) * frame.width]);
        if (EGifPutLine(gif, line, frame.width) != GIF_OK) return false;
    }
    return true;
}

} // namespace

AnimationWriter::AnimationWriter(std::FILE* stream, std::string file_name)
    : stream_(stream), file_name_(std::move(file_name)) {}

AnimationWriter::~AnimationWriter() {
    if (gif_ != nullptr) EGifCloseFile(gif_, nullptr);
}

bool AnimationWriter::fail(int giflib_error) {
    if (!failed_)
        std::fprintf(stderr, "Cannot write '%s': %s\n", file_name_.c_str(),
                     giflib_error != 0 ? GifErrorString(giflib_error)
                                       : "the stream refused a write");
    failed_ = true;
    return false;
}

bool AnimationWriter::start(const IndexedFrame& first) {
    int error = 0;
    if (stream_ == nullptr) return fail(0);
    gif_ = EGifOpen(stream_, write_to_stream, &error);
    if (gif_ == nullptr) return fail(error);
    EGifSetGifVersion(gif_, true);
    started_ = true;
    if (EGifPutScreenDesc(gif_, first.width, first.height, colour_resolution_bits,
                          background_colour, nullptr) != GIF_OK ||
        !put_loop_extension(gif_))
        return fail(gif_->Error);
    return true;
}

bool AnimationWriter::put_frame(const IndexedFrame& frame, int delay_cs) {
    if (failed_) return false;
    if (!started_ && !start(frame)) return false;
    if (frame.width != gif_->SWidth || frame.height != gif_->SHeight ||
        frame.indices.size() < std::size_t(frame.width) * frame.height)
        return fail(E_GIF_ERR_DATA_TOO_BIG);
    if (!put_delay(gif_, delay_cs) || !put_image(gif_, frame)) return fail(gif_->Error);
    return true;
}

bool AnimationWriter::close() {
    if (failed_) return false;
    if (!started_) {
        std::fprintf(stderr, "Cannot write '%s': no frame to write\n", file_name_.c_str());
        return false;
    }
    int error = 0;
    const int closed = EGifCloseFile(gif_, &error);
    gif_ = nullptr;
    if (closed != GIF_OK) return fail(error);
    if (std::fflush(stream_) != 0 || std::ferror(stream_)) return fail(0);
    return true;
}

} // namespace rizodozad::gif
