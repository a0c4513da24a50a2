// SPDX-License-Identifier: MIT
// An audit of a folder against checksum lists: new files, and where missing files moved.
#include "verify/folder_audit.h"

#include <algorithm>
#include <filesystem>

#include "verify/digest_verdict.h"

namespace rizo {

std::optional<std::string> PathInFolder(std::string_view name, std::string_view folder) {
    std::string path = name.starts_with('/') ? std::string(name) : std::string(folder) += name;
    // Most names hold no "." or ".." component nor a doubled slash: nothing to normalise.
    if (path.find("/.") != std::string::npos || path.find("//") != std::string::npos) {
        path = std::filesystem::path(path).lexically_normal().native();
    }
    if (!path.starts_with(folder) || path.size() == folder.size()) {
        return std::nullopt;
    }
    return path.substr(folder.size());
}

FolderAudit::FolderAudit(std::vector<std::string> files)
    : found(std::move(files)), named(found.size()) {
    std::sort(found.begin(), found.end());
}

bool FolderAudit::Name(std::string_view path) {
    const auto at = std::lower_bound(found.begin(), found.end(), path);
    if (at == found.end() || *at != path) {
        return false;
    }
    named[static_cast<std::size_t>(at - found.begin())] = true;
    return true;
}

std::string FolderAudit::Key(const ListedDigest& digest) {
    // A line may be of either of two digests of one length, so the key is the digest alone: a
    // candidate is checked against every listed digest before it is taken.
    return digest.hex;
}

void FolderAudit::Missing(std::string_view path, const ListedFile& listed) {
    if (listed.digests.empty()) {
        return;
    }
    auto [at, added] = goneIndex.try_emplace(std::string(path), gone.size());
    if (added) {
        gone.push_back({std::string(path), {}, 0});
        const ListedDigest& first = listed.digests.front();
        candidatesByKey.try_emplace(Key(first));
        for (const std::optional<DigestKind> kind : {std::optional(first.kind), first.orKind}) {
            if (kind &&
                std::find(firstKinds.begin(), firstKinds.end(), *kind) == firstKinds.end()) {
                firstKinds.push_back(*kind);
            }
        }
    }
    std::vector<ListedDigest>& digests = gone[at->second].digests;
    digests.insert(digests.end(), listed.digests.begin(), listed.digests.end());
}

const std::vector<std::string>& FolderAudit::NewFiles() {
    if (newFiles.empty()) {
        for (std::size_t i = 0; i < found.size(); ++i) {
            if (!named[i]) {
                newFiles.push_back(std::move(found[i]));
            }
        }
        std::vector<std::string>().swap(found);
        std::vector<bool>().swap(named);
        claimed.assign(newFiles.size(), false);
    }
    return newFiles;
}

HashSelection FolderAudit::MoveDigests() const {
    HashSelection digests{false, false, false, false};
    ListedFile all;
    for (const Gone& each : gone) {
        all.digests = each.digests;
        AddToSelection(all, digests);
    }
    return digests;
}

void FolderAudit::NewResult(std::size_t index, const FileEntry& entry) {
    if (entry.outcome != FileOutcome::kRead) {
        return;
    }
    for (const DigestKind kind : firstKinds) {
        const auto same =
            candidatesByKey.find(Key({kind, LowerHex(DigestOf(kind, entry)), 0, std::nullopt}));
        if (same != candidatesByKey.end()) {
            same->second.push_back(index);
            candidates.try_emplace(index, entry);
        }
    }
}

std::optional<std::size_t> FolderAudit::PlaceOf(const Gone& missing) const {
    const std::string_view name = std::string_view(missing.path).substr(NameStart(missing.path));
    std::optional<std::size_t> place;
    for (const std::size_t index : candidatesByKey.at(Key(missing.digests.front()))) {
        const FileEntry& entry = candidates.at(index);
        if (claimed[index] || !std::all_of(missing.digests.begin(), missing.digests.end(),
                                           [&entry](const ListedDigest& digest) {
                                               return DigestMatches(digest, entry);
                                           })) {
            continue;
        }
        const std::string& path = newFiles[index];
        if (std::string_view(path).substr(NameStart(path)) == name) {
            return index;
        }
        place = place.value_or(index);
    }
    return place;
}

void FolderAudit::Pair() {
    for (auto& [key, indexes] : candidatesByKey) {
        std::sort(indexes.begin(), indexes.end());
    }
    for (Gone& missing : gone) {
        if (const std::optional<std::size_t> place = PlaceOf(missing)) {
            claimed[*place] = true;
            missing.movedTo = *place + 1;
            ++movedCount;
        }
    }
    candidates.clear();
    candidatesByKey.clear();
}

std::optional<std::size_t> FolderAudit::NewPlaceOf(std::string_view path) const {
    const auto at = goneIndex.find(std::string(path));
    if (at == goneIndex.end() || gone[at->second].movedTo == 0) {
        return std::nullopt;
    }
    return gone[at->second].movedTo - 1;
}

std::optional<std::string> FolderAudit::MovedTo(std::string_view path) const {
    const std::optional<std::size_t> place = NewPlaceOf(path);
    return place ? std::optional<std::string>(newFiles[*place]) : std::nullopt;
}

}  // namespace rizo
