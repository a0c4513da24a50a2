// SPDX-License-Identifier: MIT
// One verification in the window: what checksum files list, and the verdicts on those files.
#include "verify/verification.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <utility>

#include "base/value_format.h"
#include "verify/checksum_file_reader.h"
#include "verify/digest_verdict.h"
#include "verify/verification_audit.h"

namespace rizo {
namespace {

// The folder of the checksum file, absolute and ending in '/'.
std::string FolderOf(const std::string& checksumFile) {
    std::error_code failed;
    const std::string absolute =
        std::filesystem::absolute(checksumFile, failed).lexically_normal().native();
    return absolute.substr(0, absolute.rfind('/') + 1);
}

std::string Resolved(const std::string& name, const std::string& folder) {
    if (name.starts_with('/')) {
        return name;
    }
    // Most names hold no "." or ".." component nor a doubled slash: nothing to normalise.
    if (!name.starts_with('.') && name.find("/.") == std::string::npos &&
        name.find("//") == std::string::npos && !name.ends_with('/')) {
        return folder + name;
    }
    return std::filesystem::path(folder + name).lexically_normal().native();
}

// OutcomeReason for a file that was not read whole; a file read whole lacks a listed digest.
std::string WhyUnreadable(const FileEntry& entry) {
    const std::string reason = OutcomeReason(entry);
    return reason.empty() ? "a listed digest could not be computed" : reason;
}

// " (SHA1)", naming the digests that differ, for a file listed with several; "" for one listed
// with one, whose verdict says it all.
std::string DifferingDigests(const ListedFile& file, const FileEntry& entry) {
    if (file.digests.size() < 2) {
        return "";
    }
    std::array<bool, kDigestKindCount> named{};
    std::string names;
    for (const ListedDigest& digest : file.digests) {
        bool& done = named[static_cast<std::size_t>(digest.kind)];
        if (!done && !DigestMatches(digest, entry)) {
            names += (names.empty() ? "" : ", ") + std::string(KindName(digest.kind));
            done = true;
        }
    }
    return " (" + names + ")";
}

// " (BLAKE2b)", naming which digest met each line that either of two could; "" when no line
// could be of two.
std::string MatchedDigests(const ListedFile& file, const FileEntry& entry) {
    std::string names;
    for (const ListedDigest& digest : file.digests) {
        const std::optional<DigestKind> kind =
            digest.orKind ? MatchingKind(digest, entry) : std::nullopt;
        if (kind) {
            names += (names.empty() ? "" : ", ") + std::string(KindName(*kind));
        }
    }
    return names.empty() ? names : " (" + names + ")";
}

std::string Counted(uint64_t count, const char* one, const char* many) {
    return FormatFileSize(count) + (count == 1 ? one : many);
}

}  // namespace

Verification::Verification(std::vector<std::string> files) : checksumFiles(std::move(files)) {}

Verification::~Verification() = default;

void Verification::Read(const std::atomic<bool>& cancelled) {
    for (const std::string& file : checksumFiles) {
        linesRead = 0;
        ReadFile(file, cancelled);
        ++fileBeingRead;
    }
}

std::optional<Verification::ReadPoint> Verification::Reading() const {
    const std::size_t at = fileBeingRead;
    if (at >= checksumFiles.size()) {
        return std::nullopt;
    }
    return ReadPoint{checksumFiles[at], linesRead.load(std::memory_order_relaxed)};
}

void Verification::ReadFile(const std::string& checksumFile, const std::atomic<bool>& cancelled) {
    // Not blocking on a FIFO without a writer; regular files ignore the flag.
    const int fd = ::open(checksumFile.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        errors.push_back("Cannot read " + checksumFile + ": " + ErrorText(errno) + ".");
        return;
    }
    const std::string folder = FolderOf(checksumFile);
    bool listedAny = false;
    bool readFailed = false;
    // Why no line was read, when one was of a digest the program does not read.
    std::string unreadDigest;
    ChecksumFileReader reader(fd, checksumFile);
    for (auto event = reader.Next(); event != ChecksumFileReader::Event::kEnd && !cancelled;
         event = reader.Next()) {
        linesRead.store(reader.LinesRead(), std::memory_order_relaxed);
        if (event == ChecksumFileReader::Event::kReadError) {
            errors.push_back("Cannot read " + checksumFile + ": " + ErrorText(reader.ReadError()) +
                             ".");
            readFailed = true;
            break;
        }
        if (event == ChecksumFileReader::Event::kImproper) {
            ++improperLines;
            CountUnread(reader.UnreadDigest());
            if (unreadDigest.empty()) {
                unreadDigest = reader.UnreadDigest();
            }
            continue;
        }
        Add(Resolved(reader.File().name, folder), reader.File());
        listedAny = true;
    }
    ::close(fd);
    if (!listedAny && !readFailed) {
        errors.push_back(unreadDigest.empty()
                             ? checksumFile +
                                   " holds no checksum line in a form this program reads."
                             : checksumFile + ": " + unreadDigest + " lines are not supported.");
    }
}

void Verification::CountUnread(const std::string& digest) {
    if (digest.empty()) {
        return;
    }
    auto counted = std::find_if(unreadLines.begin(), unreadLines.end(),
                                [&digest](const auto& each) { return each.first == digest; });
    if (counted == unreadLines.end()) {
        counted = unreadLines.insert(unreadLines.end(), {digest, 0});
    }
    ++counted->second;
}

void Verification::Add(std::string_view path, const ListedFile& file) {
    auto found = indexOf.find(path);
    if (found == indexOf.end()) {
        pathBytes += path;
        pathStarts.push_back(pathBytes.size());
        found = indexOf.insert(static_cast<uint32_t>(listedOf.size())).first;
        listedOf.emplace_back(0, 0);
    }
    auto& [first, last] = listedOf[*found];
    for (const ListedDigest& digest : file.digests) {
        listed.push_back({PackedDigest(digest), 0});
        const auto added = static_cast<uint32_t>(listed.size());
        (last == 0 ? first : listed[last - 1].next) = added;
        last = added;
    }
    AddToSelection(file, needed);
}

std::string_view Verification::Path(uint32_t index) const {
    return std::string_view(pathBytes).substr(pathStarts[index],
                                              pathStarts[index + 1] - pathStarts[index]);
}

void Verification::AppendPaths(std::vector<std::string>& to) const {
    to.reserve(to.size() + PathCount());
    for (uint32_t index = 0; index < PathCount(); ++index) {
        to.emplace_back(Path(index));
    }
}

ListedFile Verification::DigestsOf(uint32_t index) const {
    ListedFile file;
    for (uint32_t at = listedOf[index].first; at != 0; at = listed[at - 1].next) {
        file.digests.push_back(listed[at - 1].digest.Unpacked());
    }
    return file;
}

std::string Verification::AuditFolder() const {
    return FolderOf(checksumFiles.front());
}

void Verification::Audit(const std::vector<std::string>& found, std::vector<std::string>& paths) {
    audit = std::make_unique<VerificationAudit>(AuditFolder(), found);
    std::error_code ignored;
    for (const std::string& file : checksumFiles) {
        // By the name given and by the file it leads to, through links.
        audit->Name(std::filesystem::absolute(file, ignored).lexically_normal().native());
        audit->Name(std::filesystem::canonical(file, ignored).native());
    }
    for (uint32_t index = 0; index < PathCount(); ++index) {
        audit->Listed(Path(index), [this, index] { return DigestsOf(index); });
    }
    audit->AppendNewFiles(paths);
}

void Verification::IndexPaths(const std::vector<std::string>& batchPaths) {
    if (audit) {
        audit->IndexPaths(batchPaths);
    }
    indexOfBatchPath.resize(batchPaths.size());
    for (std::size_t i = 0; i < batchPaths.size(); ++i) {
        const auto found = indexOf.find(std::string_view(batchPaths[i]));
        indexOfBatchPath[i] = found == indexOf.end() ? 0 : *found + 1;
    }
    // The batch's indices stand for the paths from now on.
    indexOf.clear();
    std::string().swap(pathBytes);
    std::vector<std::size_t>{0}.swap(pathStarts);
}

void Verification::Bind(const std::vector<int32_t>& batchRows) {
    if (audit) {
        audit->Bind(batchRows);
    }
    for (std::size_t i = 0; i < indexOfBatchPath.size() && i < batchRows.size(); ++i) {
        const auto row = static_cast<std::size_t>(batchRows[i]);
        if (indexOfBatchPath[i] == 0) {
            continue;
        }
        if (row >= indexOfRow.size()) {
            indexOfRow.resize(row + 1);
        }
        unjudged += indexOfRow[row] == 0 ? 1 : 0;
        indexOfRow[row] = indexOfBatchPath[i];
    }
    std::vector<uint32_t>().swap(indexOfBatchPath);
}

std::optional<std::string> Verification::Judge(int32_t row, const FileEntry& entry) {
    const auto at = static_cast<std::size_t>(row);
    if (at >= indexOfRow.size() || indexOfRow[at] == 0) {
        return audit ? audit->Judge(row, entry) : std::nullopt;
    }
    const ListedFile file = DigestsOf(indexOfRow[at] - 1);
    indexOfRow[at] = 0;
    --unjudged;
    switch (FileVerdict(file, entry)) {
        case Verdict::kOk:
            ++ok;
            return "OK" + MatchedDigests(file, entry);
        case Verdict::kFailed:
            ++failed;
            return "FAILED" + DifferingDigests(file, entry);
        case Verdict::kMissing:
            ++missing;
            if (audit) {
                audit->MissingRow(row, entry.path);
            }
            return "MISSING";
        case Verdict::kUnreadable:
            break;
    }
    ++unreadable;
    return "UNREADABLE: " + WhyUnreadable(entry);
}

std::vector<std::pair<int32_t, std::string>> Verification::Settle() {
    if (!audit) {
        return {};
    }
    std::vector<std::pair<int32_t, std::string>> changed = audit->Settle();
    missing -= audit->MovedCount();
    return changed;
}

Verification::Tally Verification::Counts() const {
    return {ok,
            failed,
            missing,
            unreadable,
            unjudged,
            improperLines,
            audit ? audit->NewCount() : 0,
            audit ? audit->MovedCount() : 0};
}

std::string Verification::Summary() const {
    const Tally tally = Counts();
    std::string sentence;
    if (failed + missing + unreadable + tally.notChecked + tally.added + tally.moved == 0) {
        sentence = ok == 1 ? "1 file OK" : "All " + FormatFileSize(ok) + " files OK";
    } else {
        const std::pair<uint64_t, const char*> parts[] = {{failed, " FAILED"},
                                                          {missing, " MISSING"},
                                                          {unreadable, " UNREADABLE"},
                                                          {ok, " OK"},
                                                          {tally.added, " NEW"},
                                                          {tally.moved, " MOVED"},
                                                          {tally.notChecked, " not checked"}};
        for (const auto& [count, word] : parts) {
            if (count != 0) {
                sentence += (sentence.empty() ? "" : ", ") + FormatFileSize(count) + word;
            }
        }
    }
    uint64_t improper = improperLines;
    for (const auto& [digest, count] : unreadLines) {
        improper -= count;
    }
    if (improper != 0) {
        sentence += "; " + Counted(improper, " line", " lines") + " improperly formatted";
    }
    for (const auto& [digest, count] : unreadLines) {
        sentence += "; " + FormatFileSize(count) + " " + digest +
                    (count == 1 ? " line" : " lines") + " not supported";
    }
    return sentence;
}

}  // namespace rizo
