// One run at a time in an output folder: two runs into the same folder would interleave
// their files, fields.csv from one and probes.csv from the other. The lock is an flock on
// the folder itself, so no lock file joins the tables, and it goes when the program ends,
// however it ends.
#pragma once

#include <string>

namespace lab {

class FolderLock {
  public:
    // Takes the lock without waiting; problem() says why when it could not.
    explicit FolderLock(const std::string& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    const std::string& problem() const { return problem_; } // "" when held

  private:
    int fd_ = -1;
    std::string problem_;
};

} // namespace lab
