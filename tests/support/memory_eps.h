// Exports whatever a function draws as an EPS page held in memory, through the real GL2PS.
#pragma once

#include <functional>
#include <string>

namespace testsupport {

// The EPS text of one GL2PS page around draw(), with the current viewport as the page.
std::string export_eps_in_memory(const std::function<void()>& draw);

} // namespace testsupport
