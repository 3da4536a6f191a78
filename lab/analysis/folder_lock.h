// One writer at a time in an output folder: two runs into the same folder would interleave
// their files, fields.csv from one and probes.csv from the other, and the view's tables or
// recording could land between them. The lock is an flock on the folder itself, so no lock
// file joins the tables, and it goes when the program ends, however it ends.
#pragma once

#include <string>
#include <sys/types.h>

namespace lab {

class FolderLock {
  public:
    // Takes the lock without waiting; problem() says why when it could not. A folder this
    // program already holds is shared (the view's tables while it records), so that it does
    // not refuse itself. Not for use from several threads at once.
    explicit FolderLock(const std::string& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    const std::string& problem() const { return problem_; } // "" when held
    // Another process (or another open of the folder) holds it: the folder is fine.
    bool held_elsewhere() const { return held_elsewhere_; }

  private:
    bool share_if_held(int fd);
    void take(int fd, const std::string& folder);

    bool held_ = false;
    dev_t device_ = 0;
    ino_t inode_ = 0;
    bool held_elsewhere_ = false;
    std::string problem_;
};

} // namespace lab
