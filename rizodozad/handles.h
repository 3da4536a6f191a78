// Handle arithmetic: the one place that knows a handle is index * 100 + kind.
#pragma once

namespace rizodozad {

namespace kind {
constexpr int figure = 1;
constexpr int axes = 2;
constexpr int line = 3;
constexpr int surface = 4;
constexpr int text = 5;
constexpr int layer = 6;
constexpr int patch = 7;
} // namespace kind

constexpr int handle_stride = 100;

constexpr int make_handle(int index, int kind_code) { return index * handle_stride + kind_code; }
constexpr int handle_kind(int handle) { return handle % handle_stride; }
constexpr int handle_index(int handle) { return handle / handle_stride; }

} // namespace rizodozad
