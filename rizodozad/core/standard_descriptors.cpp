#include "rizodozad/core/standard_descriptors.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace rizodozad {

void open_closed_standard_descriptors() {
    constexpr int standard_descriptors = 3;
    for (int fd = 0; fd < standard_descriptors; ++fd) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY); // takes the lowest free: fd
    }
}

} // namespace rizodozad
