// Hashing the command line's files through the batch worker, as the window does.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "engine/file_entry.h"
#include "settings/program_settings.h"

namespace rizo {

// The name that stands for standard input among the files.
inline constexpr char kStandardInputName[] = "-";

// Takes the result for files[index] on the main thread, in the order of the files; false when the
// file failed.
using ResultHandler = std::function<bool(std::size_t index, const FileEntry& entry)>;

// Hashes `files` with the digests and letter case of `settings` and hands each result over as it
// arrives; with `progress` the current file is shown on standard error meanwhile. False when a
// result handler said so or no digest service could be had.
bool HashFiles(const std::vector<std::string>& files, const ProgramSettings& settings,
               bool progress, const ResultHandler& onResult);

}  // namespace rizo
