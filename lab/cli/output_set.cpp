#include "lab/cli/output_set.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace lab {

namespace {

void remove_stale_temporaries(const std::string& folder, const std::vector<std::string>& names) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        for (const std::string& target : names)
            if (rizodozad::is_temporary_of(name, target) && entry.is_regular_file(error))
                std::filesystem::remove(entry.path(), error);
    }
}

} // namespace

OutputSet::OutputSet(const std::string& folder, const std::vector<std::string>& names)
    : names_(names) {
    remove_stale_temporaries(folder, names_);
    for (const std::string& name : names_) {
        auto file = std::make_unique<rizodozad::AtomicFile>(
            (std::filesystem::path(folder) / name).string());
        const bool made = file->stream() != nullptr;
        files_[name] = std::move(file);
        if (!made) {
            fail(name, files_[name]->error_text());
            return;
        }
    }
}

std::FILE* OutputSet::stream(const std::string& name) const {
    const auto found = files_.find(name);
    return found == files_.end() ? nullptr : found->second->stream();
}

std::string OutputSet::target(const std::string& name) const {
    const auto found = files_.find(name);
    return found == files_.end() ? name : found->second->target();
}

void OutputSet::leave_out(const std::string& name) {
    const auto found = files_.find(name);
    if (found != files_.end()) found->second->discard();
    files_.erase(name);
}

bool OutputSet::failed_writing(const std::string& name) {
    // stdio leaves errno as the write(2) that failed set it; a short write without one is
    // most likely a full disk.
    return fail(name, errno != 0 ? std::strerror(errno) : "the write was cut short");
}

bool OutputSet::commit() {
    if (!problem_.empty()) return false;
    for (const std::string& name : names_) {
        const auto found = files_.find(name);
        if (found != files_.end() && !found->second->complete())
            return fail(name, found->second->error_text());
    }
    // Every temporary is whole on disk: only a rename, on the same filesystem, remains.
    for (const std::string& name : names_) {
        const auto found = files_.find(name);
        if (found != files_.end() && !found->second->commit())
            return fail(name, found->second->error_text());
    }
    return true;
}

bool OutputSet::fail(const std::string& name, const char* reason) {
    if (problem_.empty()) problem_ = target(name) + ": cannot write: " + reason;
    discard_all();
    return false;
}

void OutputSet::discard_all() {
    for (auto& [name, file] : files_)
        file->discard();
}

} // namespace lab
