// What the live view's keys write into the working directory, beside out.eps: the picture
// as PDF, SVG and PNG, and the run's tables as CSV. Each file is written whole or not at
// all; the message returned says where they went, or what failed.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "lab/analysis/experiment.h"
#include "lab/analysis/folder_lock.h"
#include "lab/view/probe_histories.h"
#include "rizodozad/rizodozad.h"

namespace lab::view {

// The working directory's lock, held while the view writes there as a run would; null,
// with `refused` saying "NOTHING_DONE: why" (KEY is the key to press again), when it cannot
// be had.
std::unique_ptr<FolderLock> lock_working_folder(const std::string& nothing_done, char key,
                                                std::string& refused);

// The path as an absolute one, for messages that say where a file went.
std::string absolute(const std::string& path);

// out.eps through the engine's own export (which names it on standard output); the message
// says where it went, or that it was not written.
std::string print_eps_file(rizodozad::ZarIdor& picture);

// out.pdf, out.svg and out.png.
std::string export_pictures(rizodozad::ZarIdor& picture);

// fields.csv and probes.csv, and spectra.csv when the run has spectra. probes.csv holds
// the steps whose exact values the view keeps: all of them up to exact_history_steps, the
// last that many after. Written under the folder's lock, as a run writes its tables: while
// another holds it nothing is written and the message says so.
std::string write_tables(const Experiment& experiment, const ProbeHistories& histories);

// probes.csv from the values the view keeps, with each row's real step number.
bool write_kept_probes(std::FILE* out, const Simulation& run, const ProbeHistories& histories);

} // namespace lab::view
