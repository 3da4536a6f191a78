// Entry points that exist for tests and benchmarks: they reach inside the engine in
// ways a program has no use for. Not installed with the library.
#pragma once

#include <vector>

#include "rizodozad/records.h"
#include "rizodozad/rizodozad.h"

namespace rizodozad {

// The same result as trace_contours found by scanning the whole crossing list for
// every edge looked up; the reference the indexed search is checked against.
ContourMatrix trace_contours_by_scan(std::vector<double> x, std::vector<double> y,
                                     std::vector<std::vector<double>> z,
                                     std::vector<double> levels);

namespace test_hooks {

// A click on the layer list with the elapsed-time reading given, so that double
// presses can be tested without waiting.
void layer_list_click_at(ZarIdor& app, int button, int state, int x, int y, int elapsed_ms);

} // namespace test_hooks

} // namespace rizodozad
