#include "tests/support/feedback.h"

#include <GL/gl.h>

#include <algorithm>

namespace testsupport {

namespace {

constexpr int floats_per_vertex = 7; // x, y, z, r, g, b, a in GL_3D_COLOR

class FeedbackReader {
  public:
    FeedbackReader(const std::vector<GLfloat>& buffer, std::size_t used)
        : buffer_(buffer), used_(used) {}

    Capture parse() {
        Capture capture;
        while (pos_ < used_) {
            const auto token = static_cast<GLenum>(buffer_[pos_++]);
            Primitive primitive;
            switch (token) {
            case GL_POINT_TOKEN:
                primitive.kind = PrimitiveKind::point;
                primitive.vertices.push_back(vertex());
                break;
            case GL_LINE_TOKEN:
            case GL_LINE_RESET_TOKEN:
                primitive.kind = PrimitiveKind::line;
                primitive.vertices.push_back(vertex());
                primitive.vertices.push_back(vertex());
                break;
            case GL_POLYGON_TOKEN: {
                primitive.kind = PrimitiveKind::polygon;
                const auto n = static_cast<int>(buffer_[pos_++]);
                for (int i = 0; i < n; ++i)
                    primitive.vertices.push_back(vertex());
                break;
            }
            case GL_BITMAP_TOKEN:
                primitive.kind = PrimitiveKind::bitmap;
                primitive.vertices.push_back(vertex());
                break;
            case GL_DRAW_PIXEL_TOKEN:
            case GL_COPY_PIXEL_TOKEN:
                primitive.kind = PrimitiveKind::pixels;
                primitive.vertices.push_back(vertex());
                break;
            case GL_PASS_THROUGH_TOKEN:
                primitive.kind = PrimitiveKind::pass_through;
                primitive.marker = buffer_[pos_++];
                break;
            default:
                return capture; // unknown token: stop rather than misread the rest
            }
            capture.primitives.push_back(std::move(primitive));
        }
        return capture;
    }

  private:
    FeedbackVertex vertex() {
        FeedbackVertex v;
        v.x = buffer_[pos_];
        v.y = buffer_[pos_ + 1];
        v.z = buffer_[pos_ + 2];
        std::copy_n(&buffer_[pos_ + 3], 4, v.color.begin());
        pos_ += floats_per_vertex;
        return v;
    }

    const std::vector<GLfloat>& buffer_;
    std::size_t used_;
    std::size_t pos_ = 0;
};

} // namespace

std::vector<Primitive> Capture::of_kind(PrimitiveKind kind) const {
    std::vector<Primitive> result;
    std::copy_if(primitives.begin(), primitives.end(), std::back_inserter(result),
                 [kind](const Primitive& p) { return p.kind == kind; });
    return result;
}

std::size_t Capture::count(PrimitiveKind kind) const {
    return static_cast<std::size_t>(
        std::count_if(primitives.begin(), primitives.end(),
                      [kind](const Primitive& p) { return p.kind == kind; }));
}

std::vector<Primitive> Capture::after_marker(float from) const {
    std::vector<Primitive> result;
    bool inside = false;
    for (const auto& p : primitives) {
        if (p.kind == PrimitiveKind::pass_through) {
            if (inside) break;
            inside = p.marker == from;
            continue;
        }
        if (inside) result.push_back(p);
    }
    return result;
}

Capture capture_feedback(const std::function<void()>& draw, std::size_t buffer_floats) {
    std::vector<GLfloat> buffer(buffer_floats);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    if (used < 0) {
        Capture overflow;
        overflow.overflowed = true;
        return overflow;
    }
    return FeedbackReader(buffer, static_cast<std::size_t>(used)).parse();
}

void mark(float value) { glPassThrough(value); }

} // namespace testsupport
