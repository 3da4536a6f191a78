// How much larger than the font's own size text is drawn, and how much wider lines are:
// set on the engine and in force while it composes, lays out and draws, so that every
// measure of text and every line width reads the same factors.
#pragma once

namespace rizodozad::scales {

struct Scales {
    double text = 1; // times the 12-pixel font's size
    double line = 1; // times every line width
};

// A factor a picture can be drawn at: positive and finite.
bool usable(double scale);

// The factors in force; both 1 when no InForce lives.
const Scales& in_force();

// While an object of this kind lives, its factors are in force; the ones before are
// restored at its end.
class InForce {
  public:
    explicit InForce(const Scales& scales);
    ~InForce();
    InForce(const InForce&) = delete;
    InForce& operator=(const InForce&) = delete;

  private:
    Scales previous_;
};

} // namespace rizodozad::scales
