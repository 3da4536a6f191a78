// Temporary-and-rename writing of a whole file.
#include "rizodozad/core/atomic_file.h"

#include <fcntl.h>
#include <limits.h>
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
constexpr mode_t permission_bits = 07777;
constexpr std::size_t longest_name = NAME_MAX; // of one path component
constexpr const char* not_a_file_text = "it is neither a regular file nor a link; refusing to "
                                        "replace it";

std::string folder_of(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// ".name.XXXXXX" beside the target: hidden, and on the same filesystem so rename is atomic.
// A long name is cut so that the temporary's name still fits where the target's does.
std::string temporary_template(const std::string& target) {
    const std::size_t slash = target.rfind('/');
    const std::size_t name_start = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t room = longest_name - 1 - std::strlen(temporary_suffix);
    return target.substr(0, name_start) + "." + target.substr(name_start, room) + temporary_suffix;
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

bool is_temporary_of(const std::string& name, const std::string& target_name) {
    const std::string pattern = temporary_template(target_name);
    const std::size_t fixed = pattern.size() - std::strlen(temporary_suffix) + 1; // up to '.'
    return name.size() == pattern.size() && name.compare(0, fixed, pattern, 0, fixed) == 0;
}

AtomicFile::AtomicFile(std::string target) : target_(std::move(target)) {
    // A folder in the way would only show at the rename, after all the work; a device, FIFO
    // or socket is somebody else's, and renaming over it would take it from them.
    struct stat existing {};
    const bool exists = ::lstat(target_.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        error_ = EISDIR;
        return;
    }
    if (exists && !S_ISREG(existing.st_mode) && !S_ISLNK(existing.st_mode)) {
        error_ = not_a_file_error;
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
    // A file that is replaced keeps its permissions; a new one (or a link's) gets a fresh mode.
    const bool keeps_mode = exists && S_ISREG(existing.st_mode);
    ::fchmod(fd, keeps_mode ? existing.st_mode & permission_bits : creation_mode());
    stream_ = ::fdopen(fd, "wb");
    if (stream_ == nullptr) {
        error_ = errno;
        ::close(fd);
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}

AtomicFile::~AtomicFile() { discard(); }

bool AtomicFile::complete() {
    if (stream_ == nullptr) return error_ == 0 ? fail(EBADF) : false;
    errno = 0;
    if (std::fflush(stream_) != 0 || std::ferror(stream_)) return fail(errno != 0 ? errno : EIO);
    if (::fsync(::fileno(stream_)) != 0) return fail(errno);
    const int closed = std::fclose(stream_);
    stream_ = nullptr;
    if (closed != 0) return fail(errno);
    completed_ = true;
    return true;
}

bool AtomicFile::commit() {
    if (!completed_ && !complete()) return false;
    completed_ = false;
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
    completed_ = false;
}

bool AtomicFile::fail(int error) {
    if (error_ == 0) error_ = error;
    discard();
    return false;
}

const char* AtomicFile::error_text() const {
    if (error_ == not_a_file_error) return not_a_file_text;
    return error_ == 0 ? "" : std::strerror(error_);
}

} // namespace rizodozad
