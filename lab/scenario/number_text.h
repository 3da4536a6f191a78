// Numbers as messages print them.
#pragma once

#include <string>

namespace lab {

// The shortest text that reads back as exactly this value: 1.000001 stays "1.000001"
// where "%g" would print "1", and 1e-320 stays "1e-320".
std::string exact_text(double value);

} // namespace lab
