// A file written whole or not at all: the bytes go to a fresh temporary beside the target,
// which replaces the target by rename only once it is complete and on disk. A failure at
// any point removes the temporary and leaves whatever was at the target untouched. The
// target itself is never opened: a symbolic link there is replaced, not followed, and a
// device, FIFO or socket there is refused (error() is not_a_file_error), never replaced.
// A regular file that is replaced keeps its permissions.
#pragma once

#include <cstdio>
#include <string>

namespace rizodozad {

// error() when the target exists and is neither a regular file nor a symbolic link.
constexpr int not_a_file_error = -1;

// True when name (a name in a folder, without the folder) is one AtomicFile gives the
// temporaries of target_name, so that a program can remove those a killed run left behind.
bool is_temporary_of(const std::string& name, const std::string& target_name);

class AtomicFile {
  public:
    // Creates the temporary; stream() is null (and error() says why) when that fails.
    explicit AtomicFile(std::string target);
    ~AtomicFile(); // discards the temporary unless commit() succeeded
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Where to write; null once committed or discarded, or if no temporary could be made.
    std::FILE* stream() const { return stream_; }
    // Flushes, syncs and closes the temporary, so that several files can all be complete
    // before any of them replaces its target. False, with error() set, when any of that
    // fails; the temporary is then gone and the target as it was.
    bool complete();
    // Completes the temporary (unless already done) and renames it over the target. False,
    // with error() set, when any of that fails; the temporary is then gone and the target
    // as it was.
    bool commit();
    // Closes and removes the temporary; the target stays as it was.
    void discard();

    const std::string& target() const { return target_; }
    int error() const { return error_; } // errno of the first failure (or not_a_file_error)
    const char* error_text() const;      // strerror of error(), "" while none

  private:
    bool fail(int error); // records error, discards, returns false

    std::string target_;
    std::string temporary_;
    std::FILE* stream_ = nullptr;
    bool completed_ = false; // the temporary is closed and on disk, waiting for the rename
    int error_ = 0;
};

} // namespace rizodozad
