// SPDX-License-Identifier: MIT
// rizodidiz-cli -c --audit: new files of the current folder, and where missing files moved.
#include "cli/check_audit.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <iostream>
#include <memory>

#include "cli/check_line.h"
#include "cli/cli_batch.h"
#include "cli/folder_walk.h"
#include "cli/shell_quote.h"

namespace rizo {
namespace {

constexpr char kProgram[] = "rizodidiz-cli";
// What the walk of "." names its paths with.
constexpr std::string_view kHere = "./";

std::string CurrentFolder() {
    std::unique_ptr<char, decltype(&std::free)> path(::getcwd(nullptr, 0), &std::free);
    const std::string folder = path ? path.get() : "/";
    return folder.ends_with('/') ? folder : folder + '/';
}

std::string WithoutHere(std::string path) {
    return path.starts_with(kHere) ? path.substr(kHere.size()) : path;
}

void Warn(const std::string& text) {
    std::cout.flush();
    std::cerr << std::string(kProgram) + ": " + text + '\n';
}

}  // namespace

CheckAudit::CheckAudit(const std::vector<std::string>& checksumFiles) : folder(CurrentFolder()) {
    std::vector<std::string> found;
    FolderWalk walk(std::string(kHere), failures);
    for (std::string path; walk.Next(path);) {
        found.push_back(WithoutHere(std::move(path)));
    }
    audit.emplace(std::move(found));
    for (const std::string& list : checksumFiles) {
        if (list == kStandardInputName) {
            continue;
        }
        // By the name given and by the file it leads to, through links.
        audit->Name(Key(list));
        if (char real[PATH_MAX]; ::realpath(list.c_str(), real) != nullptr) {
            audit->Name(Key(real));
        }
    }
}

std::string CheckAudit::Key(const std::string& listedName) const {
    return PathInFolder(listedName, folder).value_or(listedName);
}

void CheckAudit::Listed(const ListedFile& listed) {
    const std::string key = Key(listed.name);
    // Missing as -c finds it: opening the name as listed says it does not exist.
    struct stat facts {};
    if (!audit->Name(key) && ::stat(listed.name.c_str(), &facts) != 0 && errno == ENOENT) {
        audit->Missing(key, listed);
    }
}

int CheckAudit::FindMoves(bool progress) {
    const std::vector<std::string>& newFiles = audit->NewFiles();
    const HashSelection digests = audit->MoveDigests();
    int status = 0;
    if (!newFiles.empty() && (digests.md5 || digests.sha1 || digests.crc32 || digests.sha256)) {
        status = HashFiles(newFiles, {.hashes = digests, .fileTimes = false}, progress,
                           [this](std::size_t index, const FileEntry& entry) {
                               audit->NewResult(index, entry);
                               return true;
                           });
    }
    audit->Pair();
    return status;
}

std::optional<std::string> CheckAudit::MovedTo(const std::string& listedName) const {
    return audit->MovedTo(Key(listedName));
}

bool CheckAudit::Report(CheckVerbosity verbosity) {
    for (const ScanFailure& failure : failures) {
        Warn(ShellQuoted(WithoutHere(failure.path)) + ": " + ErrorText(failure.errorNumber));
    }
    const std::vector<std::string>& newFiles = audit->NewFiles();
    const bool printing = verbosity != CheckVerbosity::kStatus;
    for (std::size_t index = 0; printing && index < newFiles.size(); ++index) {
        if (audit->StillNew(index)) {
            std::cout << CheckLine(newFiles[index], "NEW");
        }
    }
    const std::size_t added = audit->NewCount();
    const std::size_t moved = audit->MovedCount();
    if (printing && added + moved != 0) {
        Warn("WARNING: " + (added != 0 ? std::to_string(added) + " new" : std::string()) +
             (added != 0 && moved != 0 ? ", " : "") +
             (moved != 0 ? std::to_string(moved) + " moved" : std::string()));
    }
    return failures.empty() && added + moved == 0;
}

}  // namespace rizo
