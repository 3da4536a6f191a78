// The live view's account of a recording: the steps its frames showed, across resets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lab/view/recording_span.h"

namespace {

struct StepsCase {
    std::vector<int> frames; // the step of each frame, in the order taken
    const char* text;
};

TEST(LabHostileView, RecordedStepsNameEachRunOfRisingSteps) {
    const StepsCase cases[] = {
        {{}, ""},
        {{1}, "steps 1 to 1"},
        {{1, 2, 3, 4}, "steps 1 to 4"},
        {{5, 10, 15}, "steps 5 to 15"},
        {{1, 2, 3, 4, 5, 6, 0, 1, 2}, "steps 1 to 6, then 0 to 2 after a reset"},
        {{3, 4, 0, 1, 0}, "steps 3 to 4, then 0 to 1 after a reset, then 0 to 0 after a reset"},
    };
    for (const StepsCase& c : cases) {
        lab::view::RecordedSteps steps;
        for (int step : c.frames)
            steps.frame_at(step);
        EXPECT_EQ(steps.text(), c.text);
    }
}

} // namespace
