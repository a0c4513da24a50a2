// SPDX-License-Identifier: MIT
// The result of hashing one file: its facts and digest texts as the list shows them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rizo {

// How far the worker got with a file. The texts alone cannot tell an empty file from one that
// failed to open, nor a read error from a digest that could not be made; the rows and the command
// line say which.
enum class FileOutcome {
    kNotOpened,    // errorNumber tells why; 0 when a digest object could not be made
    kNotRegular,   // a folder (errorNumber EISDIR), FIFO or socket
    kReadFailed,   // errorNumber of the failed read
    kChanged,      // size or times differ after the last read from those taken at open
    kShort,        // holds fewer bytes than the batch was to read of each file, which is `size`
    kStopped,      // Stop came while the file was being read
    kNotFinished,  // Stop came while a read did not return; the worker was left to end alone
    kRead,
};

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
    // Digests only the command line and verification ask for; empty when not selected.
    std::string sha224;
    std::string sha384;
    std::string sha512;
    std::string blake2b;
    std::string xxh64;
    std::string xxh3;
    std::string xxh128;
    FileOutcome outcome = FileOutcome::kNotOpened;
    // errno of the failed open or read; 0 otherwise.
    int errorNumber = 0;
};

// Empties every digest text, as of a file whose read did not count.
void ClearDigests(FileEntry& entry);

// Where the file's name begins in `path`: after its last slash, or at 0 for a name without a
// folder, as a path given on a command line may be.
std::size_t NameStart(std::string_view path);

// Why the file has no digests, in a few words; empty for a file read to its end.
std::string OutcomeReason(FileOutcome outcome, int errorNumber);
// The same, with the number of bytes a short file fell short of.
std::string OutcomeReason(const FileEntry& entry);

// An errno as the rows and the command line word it: the system's text, as coreutils prints it.
std::string ErrorText(int errorNumber);

}  // namespace rizo
