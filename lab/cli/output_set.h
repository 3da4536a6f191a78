// The files of one run, written as a set: each goes to its own temporary, and only when
// every one is complete on disk are they renamed over the old files. After any failure the
// temporaries are gone and every old file is there, unchanged (only a rename failing after
// all of them are on disk could leave a mixed set). Each problem names its file and why.
#pragma once

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "rizodozad/core/atomic_file.h"

namespace lab {

class OutputSet {
  public:
    // Removes the temporaries of these names that a killed run left in the folder, then
    // makes a fresh one for each; problem() says which could not be made. The caller holds
    // the folder's lock, so no temporary removed is in use.
    OutputSet(const std::string& folder, const std::vector<std::string>& names);

    // Where to write a file of the set; null for a name not in it or left out.
    std::FILE* stream(const std::string& name) const;
    std::string target(const std::string& name) const;
    // The run will not write this file after all: its temporary goes, the old file stays.
    void leave_out(const std::string& name);

    // "FOLDER/NAME: cannot write: REASON" for the first failure, "" while there is none.
    const std::string& problem() const { return problem_; }
    // Records that writing into a file failed, with errno's reason; returns false.
    bool failed_writing(const std::string& name);

    // Completes every temporary, then renames each over its target; false, with problem()
    // set, when any of that fails (every temporary is then removed).
    bool commit();

  private:
    bool fail(const std::string& name, const char* reason);
    void discard_all();

    std::vector<std::string> names_; // in the order given, which is the order of renaming
    std::map<std::string, std::unique_ptr<rizodozad::AtomicFile>> files_;
    std::string problem_;
};

} // namespace lab
