// Helpers the pages share: placing titled axes, fixing limits, sampling curves.
#pragma once

#include <array>
#include <functional>
#include <vector>

#include "rizodozad/rizodozad.h"

namespace gallery {

using Limits = std::array<double, 2>;

// subplot(rows, columns, cell) with a title; returns the new axes, or nullptr if none.
rizodozad::Axes* panel(rizodozad::ZarIdor& engine, int rows, int columns, int cell,
                       const char* title);

// Fixes both axis limits, so that ticks fall where the page wants them.
void fix_limits(rizodozad::Axes* axes, const Limits& x, const Limits& y);

// Width and marker size of the line just plotted.
void set_line_width(rizodozad::ZarIdor& engine, float width);
void set_marker_size(rizodozad::ZarIdor& engine, float size);

// f applied to every value of x.
std::vector<double> sampled(const std::vector<double>& x, const std::function<double(double)>& f);

} // namespace gallery
