#include "tests/support/scratch_directory.h"

#include <unistd.h>

namespace testsupport {

namespace fs = std::filesystem;

ScratchDirectory::ScratchDirectory(const std::string& prefix) {
    dir_ = fs::temp_directory_path() / (prefix + "-" + std::to_string(getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    previous_ = fs::current_path();
    fs::current_path(dir_);
}

ScratchDirectory::~ScratchDirectory() {
    fs::current_path(previous_);
    fs::remove_all(dir_);
}

} // namespace testsupport
