// Writing the picture as Encapsulated PostScript through GL2PS.
#include "rizodozad/core/export_eps.h"

#include "rizodozad/core/atomic_file.h"
#include "rizodozad/core/feedback_estimate.h"

#include <GL/freeglut.h>
#include <gl2ps.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace rizodozad {

namespace {

constexpr const char* eps_file_name = "out.eps";
constexpr const char* page_title = "test";
constexpr const char* page_producer = "gl2ps";

bool begin_page(std::FILE* stream, const char* file_name, int buffer_size, int format) {
    return gl2psBeginPage(page_title, page_producer, nullptr, format, GL2PS_SIMPLE_SORT,
                          GL2PS_USE_CURRENT_VIEWPORT, GL_RGBA, 0, nullptr, 0, 0, 0, buffer_size,
                          stream, file_name) == GL2PS_SUCCESS;
}

// A page without primitives is still a complete, empty page.
bool page_complete(GLint state) { return state == GL2PS_SUCCESS || state == GL2PS_NO_FEEDBACK; }

} // namespace

bool eps::window_ready(const char* file_name) {
    if (glutGetWindow() != 0) return true;
    std::fprintf(stderr, "Cannot export '%s': there is no window to draw the picture in\n",
                 file_name);
    return false;
}

bool eps::export_page(Engine& engine, std::FILE* stream, const char* file_name,
                      const BufferBudget& budget) {
    return export_page(engine, stream, file_name, budget, GL2PS_EPS);
}

bool eps::export_page(Engine& engine, std::FILE* stream, const char* file_name,
                      const BufferBudget& budget, int gl2ps_format) {
    if (stream == nullptr) {
        std::fprintf(stderr, "Cannot export '%s': no stream\n", file_name);
        return false;
    }
    if (!window_ready(file_name)) return false;
    // The page is the window as it is now: the last frame's viewport may be from before a
    // resize whose redraw has not come yet.
    glViewport(0, 0, engine.app.window_width, engine.app.window_height);
    int buffer_size = 0;
    for (int attempt = 0; attempt < budget.attempts; ++attempt) {
        buffer_size += budget.step;
        if (!begin_page(stream, file_name, buffer_size, gl2ps_format)) {
            std::fprintf(stderr, "Cannot export '%s': GL2PS refused the page\n", file_name);
            return false;
        }
        engine.display_cycle();
        const GLint state = gl2psEndPage();
        if (state == GL2PS_OVERFLOW) continue;
        if (!page_complete(state)) {
            std::fprintf(stderr, "Cannot export '%s': GL2PS failed (%d)\n", file_name, state);
            return false;
        }
        if (std::fflush(stream) != 0 || std::ferror(stream)) {
            std::fprintf(stderr, "Cannot export '%s': %s\n", file_name, std::strerror(errno));
            return false;
        }
        return true;
    }
    std::fprintf(stderr, "Cannot export '%s': the picture does not fit in %d values\n", file_name,
                 buffer_size);
    return false;
}

// The first attempt takes what the picture needs, up to the largest buffer the default
// steps would reach; later attempts (should the count fall short) grow by that much again.
eps::BufferBudget eps::budget_for(const Engine& engine) {
    BufferBudget budget;
    const auto largest = static_cast<std::size_t>(budget.step) * budget.attempts;
    const std::size_t needed = std::min(feedback_floats_needed(engine), largest);
    budget.step = std::max(budget.step, static_cast<int>(needed));
    budget.attempts = static_cast<int>(largest / budget.step);
    return budget;
}

bool Engine::export_eps(std::FILE* stream, const char* file_name) {
    return eps::export_page(*this, stream, file_name, eps::budget_for(*this));
}

void Engine::print_eps() {
    if (!eps::window_ready(eps_file_name)) return;
    AtomicFile file(eps_file_name);
    if (file.stream() == nullptr) {
        std::fprintf(stderr, "Cannot open '%s': %s\n", eps_file_name, file.error_text());
        return;
    }
    std::printf("Writing '%s'... ", eps_file_name);
    std::fflush(stdout);
    const bool exported = export_eps(file.stream(), eps_file_name);
    // A full disk may show only when the last buffer is written out.
    if (exported && file.commit()) {
        std::printf("Done!\n");
        std::fflush(stdout); // whoever follows the output learns at once that the file is whole
        return;
    }
    std::printf("\n");
    if (exported) std::fprintf(stderr, "Cannot write '%s': %s\n", eps_file_name, file.error_text());
}

} // namespace rizodozad
