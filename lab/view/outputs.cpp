#include "lab/view/outputs.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <system_error>
#include <vector>

#include "lab/analysis/csv_output.h"
#include "lab/analysis/folder_lock.h"
#include "lab/view/window_system.h"
#include "rizodozad/core/atomic_file.h"

namespace lab::view {

namespace {

// The view writes into the working directory, named in full in messages.
std::string working_folder() {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    return error ? "." : folder.string();
}

// Joins the names that were written and those that failed into one message.
std::string report(const std::vector<std::string>& written,
                   const std::vector<std::string>& failed) {
    std::string text;
    for (const std::string& name : written)
        text += (text.empty() ? "wrote " : ", ") + absolute(name);
    if (!failed.empty()) {
        text += text.empty() ? "could not write " : "; could not write ";
        for (std::size_t i = 0; i < failed.size(); ++i)
            text += (i == 0 ? "" : ", ") + failed[i];
        text += " (see standard error)";
    }
    return text;
}

// A stopping signal while a table is written keeps the old file: the temporary goes.
bool write_atomically(const std::string& name, const std::function<bool(std::FILE*)>& write) {
    rizodozad::AtomicFile file(name);
    if (file.stream() == nullptr || !write(file.stream()) || stop_signal != 0 || !file.commit()) {
        std::fprintf(stderr, "Cannot write '%s': %s\n", name.c_str(),
                     file.error() != 0  ? file.error_text()
                     : stop_signal != 0 ? "stopped by a signal"
                                        : "the table could not be written");
        return false;
    }
    return true;
}

// The message on standard output too, where the view's other messages go.
std::string said(std::string text) {
    std::printf("%s\n", text.c_str());
    std::fflush(stdout);
    return text;
}

} // namespace

std::unique_ptr<FolderLock> lock_working_folder(const std::string& nothing_done, char key,
                                                std::string& refused) {
    const std::string folder = working_folder();
    auto lock = std::make_unique<FolderLock>(folder);
    if (lock->problem().empty()) return lock;
    refused = nothing_done + ": " +
              (lock->held_elsewhere() ? "another fdtd-lab run is writing into " + folder +
                                            "; press " + key + " again when it has ended"
                                      : lock->problem());
    return nullptr;
}

std::string absolute(const std::string& path) {
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(path, error);
    return error ? path : full.lexically_normal().string();
}

std::string print_eps_file(rizodozad::ZarIdor& picture) {
    constexpr const char* eps_name = "out.eps"; // the name the engine's print_eps writes
    namespace fs = std::filesystem;
    std::error_code error;
    const auto modified = [&] {
        return fs::exists(eps_name, error) ? fs::last_write_time(eps_name, error)
                                           : fs::file_time_type::min();
    };
    const fs::file_time_type before = modified();
    picture.print_eps();
    // The export replaces the file whole, so a new one has a new time.
    return modified() != before ? report({eps_name}, {}) : report({}, {eps_name});
}

std::string export_pictures(rizodozad::ZarIdor& picture) {
    std::vector<std::string> written, failed;
    for (const char* name : {"out.pdf", "out.svg", "out.png"})
        (picture.export_picture(name) ? written : failed).push_back(name);
    std::string text = report(written, failed);
    std::printf("%s\n", text.c_str());
    std::fflush(stdout);
    return text;
}

bool write_kept_probes(std::FILE* out, const Simulation& run, const ProbeHistories& histories) {
    bool ok = write_probe_header(out, run);
    std::vector<double> values;
    for (std::size_t k = 0; ok && k < histories.exact_steps(); ++k) {
        values.clear();
        for (std::size_t p = 0; p < histories.probes(); ++p)
            values.insert(values.end(), {histories.exact_ez(p, k), histories.exact_hy(p, k)});
        ok = write_probe_values(out, run, static_cast<int>(histories.first_exact_step() + k),
                                values);
    }
    return ok;
}

std::string write_tables(const Experiment& experiment, const ProbeHistories& histories) {
    // A run writing its tables into this folder would mix its files with these, and would
    // take these temporaries for stale ones of its own.
    std::string refused;
    const std::unique_ptr<FolderLock> lock = lock_working_folder("no tables written", 'c', refused);
    if (!lock) return said(refused);
    const Simulation& run = experiment.run();
    std::vector<std::string> written, failed;
    const auto table = [&](const char* name, const std::function<bool(std::FILE*)>& write) {
        (write_atomically(name, write) ? written : failed).push_back(name);
    };
    table("fields.csv", [&](std::FILE* out) { return write_fields_csv(out, run); });
    table("probes.csv", [&](std::FILE* out) { return write_kept_probes(out, run, histories); });
    if (experiment.has_spectra())
        table("spectra.csv",
              [&](std::FILE* out) { return write_spectra_csv(out, experiment.spectra()); });
    return said(report(written, failed));
}

} // namespace lab::view
