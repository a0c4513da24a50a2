// One verification in the window: the files that checksum files list, and the verdict of each
// once the batch that hashes them has read it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/file_entry.h"
#include "engine/hash_selection.h"
#include "verify/listed_file.h"

namespace rizo {

class Verification {
public:
    // Reads the checksum files. Relative names are taken relative to the folder of the file that
    // lists them; a path listed several times is checked once against every digest listed for it.
    explicit Verification(const std::vector<std::string>& checksumFiles);

    // The listed paths, each once, in the order first listed.
    const std::vector<std::string>& Paths() const { return paths; }
    // Why a checksum file gave nothing: it cannot be read, or no line of it has a known form.
    const std::vector<std::string>& Errors() const { return errors; }
    // The digests that the listed files need.
    HashSelection Needed() const { return needed; }

    // Ties the listed paths to the rows the batch hashes them in; other paths are left alone.
    void Bind(const std::vector<std::string>& batchPaths, const std::vector<int32_t>& batchRows);
    // The verdict of a bound row's result: "OK", "FAILED", "MISSING" or "UNREADABLE: " and why.
    // Nothing for a row this verification does not check.
    std::optional<std::string> Judge(int32_t row, const FileEntry& entry);

    // The whole set in one sentence, such as "All 1,204 files OK" or "2 FAILED, 1 MISSING,
    // 1,201 OK"; bound rows never judged (a stopped batch) count as not checked.
    std::string Summary() const;
    // Every listed file matched and every line was understood.
    bool AllOk() const;

private:
    void Read(const std::string& checksumFile);

    std::unordered_map<std::string, ListedFile> byPath;
    std::vector<std::string> paths;
    std::vector<std::string> errors;
    std::unordered_map<int32_t, ListedFile> byRow;
    HashSelection needed{false, false, false, false};
    uint64_t improperLines = 0;
    uint64_t ok = 0;
    uint64_t failed = 0;
    uint64_t missing = 0;
    uint64_t unreadable = 0;
};

}  // namespace rizo
