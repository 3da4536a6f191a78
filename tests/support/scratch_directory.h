// A fresh directory that is the working directory for the life of the object, so that
// a test can let the program write out.eps where nothing else looks.
#pragma once

#include <filesystem>
#include <string>

namespace testsupport {

class ScratchDirectory {
  public:
    explicit ScratchDirectory(const std::string& prefix);
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::filesystem::path& path() const { return dir_; }

  private:
    std::filesystem::path dir_;
    std::filesystem::path previous_;
};

} // namespace testsupport
