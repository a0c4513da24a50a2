// One verification in the window: the files that checksum files list, and the verdict of each
// once the batch that hashes them has read it.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/file_entry.h"
#include "engine/hash_selection.h"
#include "verify/listed_file.h"
#include "verify/packed_digest.h"

namespace rizo {

class Verification {
public:
    // Where reading has got to: the checksum file being read and how many of its lines are read.
    struct ReadPoint {
        const std::string& file;
        uint64_t lines = 0;
    };

    // Nothing is read yet. Relative names are taken relative to the folder of the file that lists
    // them; a path listed several times is checked once against every digest listed for it.
    explicit Verification(std::vector<std::string> files);

    // Reads the checksum files, on any one thread. When `cancelled` turns true it stops early and
    // what it has read is of no use.
    void Read(const std::atomic<bool>& cancelled);
    // Any thread, from construction until Read ends; nothing after that.
    std::optional<ReadPoint> Reading() const;

    // Once read and until the rows are bound: the listed paths, each once, in the order first
    // listed.
    const std::deque<std::string>& Paths() const { return paths; }
    // Why a checksum file gave nothing: it cannot be read, or no line of it has a known form.
    const std::vector<std::string>& Errors() const { return errors; }
    // The digests that the listed files need.
    HashSelection Needed() const { return needed; }

    // Ties the listed paths to the rows the batch hashes them in; other paths are left alone.
    void Bind(const std::vector<std::string>& batchPaths, const std::vector<int32_t>& batchRows);
    // The verdict of a bound row's result: "OK", "FAILED" (with the differing digests named, such
    // as "FAILED (SHA1)", when several are listed), "MISSING" or "UNREADABLE: " and why.
    // Nothing for a row this verification does not check.
    std::optional<std::string> Judge(int32_t row, const FileEntry& entry);

    // The whole set in one sentence, such as "All 1,204 files OK" or "2 FAILED, 1 MISSING,
    // 1,201 OK"; bound rows never judged (a stopped batch) count as not checked.
    std::string Summary() const;
    // Every listed file matched and every line was understood.
    bool AllOk() const;

private:
    struct Listed {
        PackedDigest digest;
        // 1 + the index of the next digest listed for the same path; 0 for its last.
        uint32_t next = 0;
    };

    void ReadFile(const std::string& checksumFile, const std::atomic<bool>& cancelled);
    void Add(std::string path, const ListedFile& file);
    ListedFile DigestsOf(uint32_t index) const;

    const std::vector<std::string> checksumFiles;
    std::atomic<std::size_t> fileBeingRead = 0;
    std::atomic<uint64_t> linesRead = 0;
    // Dropped once the rows are bound. A deque, so the map's keys, which view its texts, stay
    // valid as it grows.
    std::deque<std::string> paths;
    std::unordered_map<std::string_view, uint32_t> indexOf;
    // The digests listed for all paths, and for paths[i] 1 + the index of its first and last.
    std::vector<Listed> listed;
    std::vector<std::pair<uint32_t, uint32_t>> listedOf;
    std::vector<std::string> errors;
    // For each row, 1 + the index of its listed path; 0 for a row not checked.
    std::vector<uint32_t> indexOfRow;
    uint64_t unjudged = 0;
    HashSelection needed{false, false, false, false};
    uint64_t improperLines = 0;
    uint64_t ok = 0;
    uint64_t failed = 0;
    uint64_t missing = 0;
    uint64_t unreadable = 0;
};

}  // namespace rizo
