// Captures what OpenGL received, through feedback mode, as plain data.
// Coordinates are window pixels after viewport and clipping (origin lower left).
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <vector>

namespace testsupport {

struct FeedbackVertex {
    float x = 0, y = 0, z = 0;
    std::array<float, 4> color{};
};

enum class PrimitiveKind { point, line, polygon, bitmap, pixels, pass_through };

struct Primitive {
    PrimitiveKind kind = PrimitiveKind::point;
    std::vector<FeedbackVertex> vertices; // one for points and bitmaps, two per line segment
    float marker = 0;                     // the value of a pass-through token
};

struct Capture {
    std::vector<Primitive> primitives;
    bool overflowed = false; // the buffer was too small: primitives is empty

    std::vector<Primitive> of_kind(PrimitiveKind kind) const;
    std::size_t count(PrimitiveKind kind) const;
    // The primitives between the pass-through markers `from` and the next marker (or the end).
    std::vector<Primitive> after_marker(float from) const;
};

// Runs draw in feedback mode (GL_3D_COLOR) and parses the buffer.
Capture capture_feedback(const std::function<void()>& draw, std::size_t buffer_floats = 1 << 22);

// Emits a pass-through marker; only meaningful inside capture_feedback.
void mark(float value);

} // namespace testsupport
