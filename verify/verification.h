// SPDX-License-Identifier: MIT
// One verification in the window: the files that checksum files list, and the verdict of each
// once the batch that hashes them has read it.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "base/file_entry.h"
#include "base/hash_selection.h"
#include "verify/listed_file.h"
#include "verify/packed_digest.h"

namespace rizo {

class VerificationAudit;

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
    ~Verification();

    // Reads the checksum files, on any one thread. When `cancelled` turns true it stops early and
    // what it has read is of no use.
    void Read(const std::atomic<bool>& cancelled);
    // Any thread, from construction until Read ends; nothing after that.
    std::optional<ReadPoint> Reading() const;

    // Once read: how many paths are listed. Until IndexPaths: the paths, each once, in the order
    // first listed, appended to `to`.
    std::size_t PathCount() const { return listedOf.size(); }
    void AppendPaths(std::vector<std::string>& to) const;
    // Why a checksum file gave nothing: it cannot be read, or no line of it has a known form.
    const std::vector<std::string>& Errors() const { return errors; }
    // The digests that the listed files need.
    HashSelection Needed() const { return needed; }

    // An audit of the folder of the first checksum file (absolute, ending with '/'), where its
    // relative names start: once read and before IndexPaths, `found` the files under it. Those no
    // list names (the checksum files themselves excepted) are appended to `paths` to be hashed
    // and judged "NEW"; a listed file that is not there may have moved to one of them (Settle).
    std::string AuditFolder() const;
    void Audit(const std::vector<std::string>& found, std::vector<std::string>& paths);

    // Finds which of the batch's paths are listed, on any one thread once read: a million
    // look-ups take longer than the window may stand still. Frees the listed paths.
    void IndexPaths(const std::vector<std::string>& batchPaths);
    // Then ties the listed paths to the rows the batch hashes them in, batchRows[i] being the row
    // of batchPaths[i]; other rows are left alone.
    void Bind(const std::vector<int32_t>& batchRows);
    // The verdict of a bound row's result: "OK" (with the digest that met a line either of two
    // could, such as "OK (BLAKE2b)"), "FAILED" (with the differing digests named, such as
    // "FAILED (SHA1)", when several are listed), "MISSING" or "UNREADABLE: " and why.
    // Nothing for a row this verification does not check.
    std::optional<std::string> Judge(int32_t row, const FileEntry& entry);
    // Once the batch has ended, with an audit: the rows whose verdicts the moves found change, a
    // missing file's to "MOVED to NAME" and its new place's to "MOVED from NAME", names relative
    // to the folder; a moved file no longer counts as missing.
    std::vector<std::pair<int32_t, std::string>> Settle();

    // The whole set in one sentence, such as "All 1,204 files OK" or "2 FAILED, 1 MISSING,
    // 1,201 OK", with an audit's "2 NEW, 1 MOVED" after the OK; bound rows never judged (a stopped
    // batch) count as not checked. Lines not read follow: "; 1 line improperly formatted; 2 SHA512
    // lines not supported".
    std::string Summary() const;
    // The verdicts given so far; bound rows never judged (a stopped batch) are not checked.
    struct Tally {
        uint64_t ok = 0;
        uint64_t failed = 0;
        uint64_t missing = 0;
        uint64_t unreadable = 0;
        uint64_t notChecked = 0;
        uint64_t improperLines = 0;
        uint64_t added = 0;
        uint64_t moved = 0;
    };
    Tally Counts() const;
    // The checksum files, as given.
    const std::vector<std::string>& Files() const { return checksumFiles; }

private:
    struct Listed {
        PackedDigest digest;
        // 1 + the index of the next digest listed for the same path; 0 for its last.
        uint32_t next = 0;
    };

    void ReadFile(const std::string& checksumFile, const std::atomic<bool>& cancelled);
    void Add(std::string_view path, const ListedFile& file);
    void CountUnread(const std::string& digest);
    ListedFile DigestsOf(uint32_t index) const;

    const std::vector<std::string> checksumFiles;
    std::atomic<std::size_t> fileBeingRead = 0;
    std::atomic<uint64_t> linesRead = 0;
    // Hashes and compares listed paths by their index, so the set of them holds an index each
    // and is searched by a path's text.
    struct PathKey {
        using is_transparent = void;
        const Verification* owner;
        std::string_view Text(uint32_t index) const { return owner->Path(index); }
        std::string_view Text(std::string_view path) const { return path; }
        std::size_t operator()(auto key) const { return std::hash<std::string_view>{}(Text(key)); }
        bool operator()(auto a, auto b) const { return Text(a) == Text(b); }
    };

    std::string_view Path(uint32_t index) const;

    // Dropped once the batch's paths are indexed: the listed paths end to end, path i from
    // pathStarts[i] to pathStarts[i + 1], which takes half the room of a string each.
    std::string pathBytes;
    std::vector<std::size_t> pathStarts{0};
    std::unordered_set<uint32_t, PathKey, PathKey> indexOf{0, PathKey{this}, PathKey{this}};
    // The digests listed for all paths, and for paths[i] 1 + the index of its first and last.
    std::vector<Listed> listed;
    std::vector<std::pair<uint32_t, uint32_t>> listedOf;
    std::vector<std::string> errors;
    // Until bound, for each of the batch's paths 1 + the index of its listed path, 0 for a path
    // not listed; then the same for each row.
    std::vector<uint32_t> indexOfBatchPath;
    std::vector<uint32_t> indexOfRow;
    uint64_t unjudged = 0;
    HashSelection needed{false, false, false, false};
    uint64_t improperLines = 0;
    // Those of the improper lines that list a digest the program does not read, by digest.
    std::vector<std::pair<std::string, uint64_t>> unreadLines;
    uint64_t ok = 0;
    uint64_t failed = 0;
    uint64_t missing = 0;
    uint64_t unreadable = 0;
    std::unique_ptr<VerificationAudit> audit;
};

}  // namespace rizo
