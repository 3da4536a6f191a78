#include "rizodozad/core/scales.h"

#include <cmath>

namespace rizodozad::scales {

namespace {

Scales current; // what the drawing engine holds in force

} // namespace

bool usable(double scale) { return std::isfinite(scale) && scale > 0; }

const Scales& in_force() { return current; }

InForce::InForce(const Scales& scales) : previous_(current) { current = scales; }

InForce::~InForce() { current = previous_; }

} // namespace rizodozad::scales
