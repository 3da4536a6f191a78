// Line segments as feedback mode returns them, and their comparison in window pixels.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/feedback.h"

namespace testsupport {

constexpr float segment_tolerance_px = 0.05f; // feedback coordinates are not exact

struct Segment {
    float x0, y0, x1, y1;
};

inline Segment segment_of(const Primitive& line) {
    return {line.vertices[0].x, line.vertices[0].y, line.vertices[1].x, line.vertices[1].y};
}

// Every line segment of a capture, in drawing order.
inline std::vector<Segment> segments_of(const Capture& capture) {
    std::vector<Segment> result;
    for (const auto& line : capture.of_kind(PrimitiveKind::line))
        result.push_back(segment_of(line));
    return result;
}

inline void expect_segment(const Segment& actual, const Segment& expected,
                           const std::string& what) {
    EXPECT_NEAR(actual.x0, expected.x0, segment_tolerance_px) << what;
    EXPECT_NEAR(actual.y0, expected.y0, segment_tolerance_px) << what;
    EXPECT_NEAR(actual.x1, expected.x1, segment_tolerance_px) << what;
    EXPECT_NEAR(actual.y1, expected.y1, segment_tolerance_px) << what;
}

inline void expect_segment(const Primitive& actual, const Segment& expected,
                           const std::string& what) {
    expect_segment(segment_of(actual), expected, what);
}

inline void expect_segments(const std::vector<Segment>& actual,
                            const std::vector<Segment>& expected, const std::string& what) {
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (std::size_t i = 0; i < expected.size(); ++i)
        expect_segment(actual[i], expected[i], what + " segment " + std::to_string(i));
}

} // namespace testsupport
