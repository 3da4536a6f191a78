// Temporary-and-rename writing of a whole file.
#include "rizodozad/core/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

namespace rizodozad {

namespace {

constexpr const char* temporary_suffix = ".XXXXXX"; // mkstemp fills in the Xs
constexpr mode_t new_file_mode = 0666;              // what fopen would create, before umask

std::string folder_of(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// ".name.XXXXXX" beside the target: hidden, and on the same filesystem so rename is atomic.
std::string temporary_template(const std::string& target) {
    const std::size_t slash = target.rfind('/');
    const std::size_t name_start = slash == std::string::npos ? 0 : slash + 1;
    return target.substr(0, name_start) + "." + target.substr(name_start) + temporary_suffix;
}

// mkstemp makes the file 0600; give it the mode a freshly created file would have.
mode_t creation_mode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return new_file_mode & ~mask;
}

// The rename is on disk only once the folder is; a failure here loses nothing written.
void sync_folder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

AtomicFile::AtomicFile(std::string target) : target_(std::move(target)) {
    // A folder in the way would only show at the rename, after all the work.
    struct stat existing {};
    if (::lstat(target_.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode)) {
        error_ = EISDIR;
        return;
    }
    std::string name = temporary_template(target_);
    std::vector<char> writable(name.begin(), name.end());
    writable.push_back('\0');
    // O_CREAT | O_EXCL: a fresh file, never anything that already exists under that name.
    const int fd = ::mkostemp(writable.data(), O_CLOEXEC);
    if (fd < 0) {
        error_ = errno;
        return;
    }
    temporary_ = writable.data();
    ::fchmod(fd, creation_mode());
    stream_ = ::fdopen(fd, "wb");
    if (stream_ == nullptr) {
        error_ = errno;
        ::close(fd);
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}

AtomicFile::~AtomicFile() { discard(); }

bool AtomicFile::commit() {
    if (stream_ == nullptr) return error_ == 0 ? fail(EBADF) : false;
    errno = 0;
    if (std::fflush(stream_) != 0 || std::ferror(stream_)) return fail(errno != 0 ? errno : EIO);
    if (::fsync(::fileno(stream_)) != 0) return fail(errno);
    const int closed = std::fclose(stream_);
    stream_ = nullptr;
    if (closed != 0) return fail(errno);
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) return fail(errno);
    temporary_.clear();
    sync_folder(folder_of(target_));
    return true;
}

void AtomicFile::discard() {
    if (stream_ != nullptr) std::fclose(stream_);
    stream_ = nullptr;
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
}

bool AtomicFile::fail(int error) {
    if (error_ == 0) error_ = error;
    discard();
    return false;
}

const char* AtomicFile::error_text() const { return error_ == 0 ? "" : std::strerror(error_); }

} // namespace rizodozad
