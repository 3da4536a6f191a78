// The reference text of fdtd-lab --help: scenario format, output files, exit statuses.
#pragma once

namespace lab {

const char* scenario_help();
const char* run_outputs_help();
const char* exit_status_help();

} // namespace lab
