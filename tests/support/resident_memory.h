// The process's resident memory, read from /proc, for tests that watch it level off.
#pragma once

#include <unistd.h>

#include <fstream>

namespace testsupport {

inline double resident_bytes() {
    std::ifstream statm("/proc/self/statm");
    long size_pages = 0;
    long resident_pages = 0;
    statm >> size_pages >> resident_pages;
    return static_cast<double>(resident_pages) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

} // namespace testsupport
