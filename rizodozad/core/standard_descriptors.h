// The standard descriptors a program can count on.
#pragma once

namespace rizodozad {

// Opens /dev/null on each of descriptors 0, 1 and 2 the caller left closed. Otherwise the
// next file opened takes the lowest free number, the X connection among them, and whatever
// the program prints to standard output or error goes into that file or protocol stream.
// Call it first thing in main, before anything opens a file.
void open_closed_standard_descriptors();

} // namespace rizodozad
