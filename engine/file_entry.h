// The result of hashing one file: its facts and digest texts as the list shows them.
#pragma once

#include <cstdint>
#include <string>

namespace rizo {

// How far the worker got with a file. The texts alone cannot tell an empty file from one that
// failed to open, nor a read error from a digest that could not be made; the command line needs
// to say which.
enum class FileOutcome { kNotOpened, kReadFailed, kStopped, kRead };

// A value type, copied whole: the window takes its own copy of each result.
struct FileEntry {
    uint64_t size = 0;
    std::string name;
    std::string path;
    std::string created;
    std::string modified;
    std::string md5;
    std::string sha1;
    std::string crc32;
    std::string sha256;
    FileOutcome outcome = FileOutcome::kNotOpened;
    // errno of the failed open or read; 0 otherwise.
    int errorNumber = 0;
};

}  // namespace rizo
