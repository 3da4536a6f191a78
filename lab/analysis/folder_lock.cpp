#include "lab/analysis/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <utility>

namespace lab {

namespace {

// The folders this program holds, by device and inode: the descriptor whose flock holds
// each, and how many FolderLocks share it.
struct Hold {
    int fd = -1;
    int holders = 0;
};
using FolderId = std::pair<dev_t, ino_t>;

std::map<FolderId, Hold>& holds() {
    static std::map<FolderId, Hold> held;
    return held;
}

} // namespace

FolderLock::FolderLock(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat status {};
    if (fd < 0 || ::fstat(fd, &status) != 0) {
        problem_ = folder + ": cannot lock: " + std::strerror(errno);
        if (fd >= 0) ::close(fd);
        return;
    }
    device_ = status.st_dev;
    inode_ = status.st_ino;
    if (!share_if_held(fd)) take(fd, folder);
}

bool FolderLock::share_if_held(int fd) {
    const auto found = holds().find({device_, inode_});
    if (found == holds().end()) return false;
    ::close(fd); // the first holder's descriptor keeps the lock
    ++found->second.holders;
    held_ = true;
    return true;
}

void FolderLock::take(int fd, const std::string& folder) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        holds()[{device_, inode_}] = Hold{fd, 1};
        held_ = true;
        return;
    }
    held_elsewhere_ = errno == EWOULDBLOCK;
    problem_ = held_elsewhere_
                   ? folder + ": another fdtd-lab run is writing into this folder; not waiting "
                              "for it: run again when it has ended, or write into another folder"
                   : folder + ": cannot lock: " + std::strerror(errno);
    ::close(fd);
}

FolderLock::~FolderLock() {
    if (!held_) return;
    const auto found = holds().find({device_, inode_});
    if (--found->second.holders > 0) return;
    ::close(found->second.fd); // closing releases the lock
    holds().erase(found);
}

} // namespace lab
