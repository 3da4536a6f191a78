#include "tests/support/memory_eps.h"

#include <gl2ps.h>

#include <cstdio>
#include <cstdlib>

namespace testsupport {

namespace {
constexpr GLint feedback_floats = 1 << 20;
}

std::string export_eps_in_memory(const std::function<void()>& draw) {
    char* data = nullptr;
    std::size_t size = 0;
    std::FILE* stream = open_memstream(&data, &size);
    if (stream == nullptr) return {};
    gl2psBeginPage("test", "gl2ps", nullptr, GL2PS_EPS, GL2PS_SIMPLE_SORT,
                   GL2PS_USE_CURRENT_VIEWPORT, GL_RGBA, 0, nullptr, 0, 0, 0, feedback_floats,
                   stream, "test.eps");
    draw();
    gl2psEndPage();
    std::fclose(stream);
    std::string text(data, size);
    std::free(data);
    return text;
}

} // namespace testsupport
