// Runs another program and collects what it writes on standard output.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

struct ProcessResult {
    int exit_status = -1; // -1 when the program did not end by exit (a signal, or no start)
    std::string output;   // standard output; standard error passes through to ours
};

// Runs argv[0] (looked up in PATH) with the given arguments and waits for it to end.
ProcessResult run_process(const std::vector<std::string>& argv);

} // namespace testsupport
