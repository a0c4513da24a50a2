// SPDX-License-Identifier: MIT
// Hashing the command line's files through the batch worker, as the window does.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "base/file_entry.h"
#include "engine/batch_options.h"

namespace rizo {

// The name that stands for standard input among the files.
inline constexpr char kStandardInputName[] = "-";

// Takes the result for files[index] on the main thread, in the order of the files; false when the
// file failed.
using ResultHandler = std::function<bool(std::size_t index, const FileEntry& entry)>;

// Hashes `files` with the digests and letter case of `options` and hands each result over as it
// arrives; with `progress` the whole batch and the current file are shown on standard error
// meanwhile. SIGINT and SIGTERM stop the batch within a moment: the file being read then gets no
// result. Returns 0 when every file was handed over and its handler said so, 1 when one was not
// or no digest service could be had, and 128 plus the signal's number after such a stop.
// After such a stop every later call hands nothing over and returns the same.
int HashFiles(const std::vector<std::string>& files, const BatchOptions& options, bool progress,
              const ResultHandler& onResult);

// Gives the next file to hash, false after the last; called on another thread, one call at a time.
using PathSource = std::function<bool(std::string& path)>;

// HashFiles of the files `next` gives, taken as the batch goes, without the progress display; the
// result's path is the file's as given.
int HashPaths(const PathSource& next, const BatchOptions& options, const ResultHandler& onResult);

// The SIGINT or SIGTERM that stopped a HashFiles call of this process; 0 when none did.
int CaughtStopSignal();

}  // namespace rizo
