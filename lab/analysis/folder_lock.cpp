#include "lab/analysis/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace lab {

FolderLock::FolderLock(const std::string& folder) {
    fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) {
        problem_ = folder + ": cannot lock: " + std::strerror(errno);
        return;
    }
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) return;
    held_elsewhere_ = errno == EWOULDBLOCK;
    problem_ = held_elsewhere_
                   ? folder + ": another fdtd-lab run is writing into this folder; not waiting "
                              "for it: run again when it has ended, or choose another --out"
                   : folder + ": cannot lock: " + std::strerror(errno);
    ::close(fd_);
    fd_ = -1;
}

FolderLock::~FolderLock() {
    if (fd_ >= 0) ::close(fd_); // closing releases the lock
}

} // namespace lab
