// Writing the picture in the format its file name asks for: EPS, PDF and SVG through
// GL2PS, PNG from the window's pixels.
#include <gl2ps.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>

#include "rizodozad/core/atomic_file.h"
#include "rizodozad/core/engine.h"
#include "rizodozad/core/export_eps.h"
#include "rizodozad/core/pictures.h"
#include "rizodozad/core/png_writer.h"

namespace rizodozad {

namespace {

enum class PictureFormat { eps, pdf, svg, png, unknown };

std::string lowercase_extension(const std::string& path) {
    const auto dot = path.find_last_of('.');
    const auto slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

PictureFormat format_of(const std::string& path) {
    const std::string extension = lowercase_extension(path);
    if (extension == "eps") return PictureFormat::eps;
    if (extension == "pdf") return PictureFormat::pdf;
    if (extension == "svg") return PictureFormat::svg;
    if (extension == "png") return PictureFormat::png;
    return PictureFormat::unknown;
}

int gl2ps_format(PictureFormat format) {
    if (format == PictureFormat::pdf) return GL2PS_PDF;
    if (format == PictureFormat::svg) return GL2PS_SVG;
    return GL2PS_EPS;
}

bool write_picture(Engine& engine, PictureFormat format, std::FILE* stream, const char* name) {
    if (format != PictureFormat::png)
        return eps::export_page(engine, stream, name, eps::budget_for(engine),
                                gl2ps_format(format));
    return png::write_frame(stream, name, engine.capture_picture());
}

} // namespace

bool Engine::export_picture(const std::string& path) {
    const PictureFormat format = format_of(path);
    if (format == PictureFormat::unknown) {
        std::fprintf(stderr, "Cannot export '%s': the name must end in .eps, .pdf, .svg or .png\n",
                     path.c_str());
        return false;
    }
    if (!eps::window_ready(path.c_str())) return false;
    AtomicFile file(path);
    if (file.stream() == nullptr) {
        std::fprintf(stderr, "Cannot open '%s': %s\n", path.c_str(), file.error_text());
        return false;
    }
    if (!write_picture(*this, format, file.stream(), path.c_str())) return false;
    if (file.commit()) return true;
    std::fprintf(stderr, "Cannot write '%s': %s\n", path.c_str(), file.error_text());
    return false;
}

} // namespace rizodozad
