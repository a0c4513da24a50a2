// SPDX-License-Identifier: MIT
// An audit of a folder against the checksum lists whose names start from it: the files there that
// no list names are new, and a listed file that is gone has moved when a new file has every digest
// listed for it. Paths are compared as names relative to the folder (see PathInFolder).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/file_entry.h"
#include "base/hash_selection.h"
#include "verify/listed_file.h"

namespace rizo {

// `name` as a name relative to `folder` (absolute, ending with '/'): a relative name is taken
// from the folder, "." components and doubled slashes dropped and ".." resolved by the letters;
// none for a name that leads outside the folder.
std::optional<std::string> PathInFolder(std::string_view name, std::string_view folder);

class FolderAudit {
public:
    // `found`: every file under the folder, each once, in any order.
    explicit FolderAudit(std::vector<std::string> found);

    // A file a list names, or a checksum list itself: it is not new. False when it is not among
    // the files found.
    bool Name(std::string_view path);
    // A listed file that is not there, with the digests listed for it (those of every listing).
    void Missing(std::string_view path, const ListedFile& listed);

    // Once every listed file is named: the files that no list names, in byte order.
    const std::vector<std::string>& NewFiles();
    // The digests the new files are read with to find where the missing files went: those the
    // missing files are listed with; none at all when no listed file is missing, and then nothing
    // needs reading.
    HashSelection MoveDigests() const;
    // The result of NewFiles()[index], read with MoveDigests(). Only the results that can match a
    // missing file are kept.
    void NewResult(std::size_t index, const FileEntry& entry);
    // Once the new files are read: each missing file moved to the first new file, in byte order,
    // that has every digest listed for it, one of its own name first; each new file takes one.
    void Pair();

    // The new place of a missing file that moved, and its index in NewFiles().
    std::optional<std::string> MovedTo(std::string_view path) const;
    std::optional<std::size_t> NewPlaceOf(std::string_view path) const;
    // Whether NewFiles()[index] is still new once paired: it is no moved file's new place.
    bool StillNew(std::size_t index) const { return !claimed[index]; }
    std::size_t NewCount() const { return newFiles.size() - movedCount; }
    std::size_t MovedCount() const { return movedCount; }

private:
    struct Gone {
        std::string path;
        std::vector<ListedDigest> digests;
        // 1 + the index of the new file it moved to; 0 while none.
        std::size_t movedTo = 0;
    };

    // A digest kind and its lower-case hex, as one string.
    static std::string Key(const ListedDigest& digest);
    std::optional<std::size_t> PlaceOf(const Gone& gone) const;

    // Sorted, with whether a list names each.
    std::vector<std::string> found;
    std::vector<bool> named;
    std::vector<std::string> newFiles;
    std::vector<bool> claimed;
    std::vector<Gone> gone;
    std::unordered_map<std::string, std::size_t> goneIndex;
    // The kinds of the missing files' first digests, and those digests.
    std::vector<DigestKind> firstKinds;
    std::unordered_map<std::string, std::vector<std::size_t>> candidatesByKey;
    // The results of new files that share a first digest with a missing file, by index.
    std::unordered_map<std::size_t, FileEntry> candidates;
    std::size_t movedCount = 0;
};

}  // namespace rizo
