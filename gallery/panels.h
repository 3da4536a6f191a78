// Helpers the pages share: placing titled axes, sizing markers, sampling curves.
#pragma once

#include <array>
#include <functional>
#include <vector>

#include "rizodozad/rizodozad.h"

namespace gallery {

using Limits = rizodozad::Limits;

// subplot(rows, columns, cell) with a title; returns the new axes, or nullptr if none.
rizodozad::Axes* panel(rizodozad::ZarIdor& engine, int rows, int columns, int cell,
                       const char* title);

// Marker size of the line just plotted.
void set_marker_size(rizodozad::ZarIdor& engine, float size);

// f applied to every value of x.
std::vector<double> sampled(const std::vector<double>& x, const std::function<double(double)>& f);

} // namespace gallery
