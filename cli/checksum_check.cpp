// SPDX-License-Identifier: MIT
// rizodidiz-cli --check: verifies the files listed in checksum files.
#include "cli/checksum_check.h"

#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <clocale>
#include <cstring>
#include <deque>
#include <iostream>
#include <optional>
#include <utility>

#include "cli/cli_batch.h"
#include "cli/file_report.h"
#include "cli/shell_quote.h"
#include "verify/checksum_file_reader.h"
#include "verify/digest_verdict.h"

namespace rizo {

namespace {

constexpr char kProgram[] = "rizodidiz-cli";
// Files hashed per batch: the checksum file is read no further ahead than this.
constexpr std::size_t kFilesPerBatch = 1024;

void Warn(const std::string& text) {
    std::cout.flush();
    std::cerr << kProgram << ": " << text << '\n';
}

std::string Plural(uint64_t count, const char* one, const char* many) {
    return "WARNING: " + std::to_string(count) + (count == 1 ? one : many);
}

// Before any proper line, the digest a checksum file's name suggests (MD5SUMS, x.sha1, x.sfv),
// SHA256 when it suggests none.
DigestKind KindHint(std::string name) {
    for (char& c : name) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    const std::size_t slash = name.rfind('/');
    name.erase(0, slash == std::string::npos ? 0 : slash + 1);
    if (name.find("md5") != std::string::npos) {
        return DigestKind::kMd5;
    }
    if (name.find("sha1") != std::string::npos) {
        return DigestKind::kSha1;
    }
    if (name.find("sfv") != std::string::npos || name.find("crc") != std::string::npos) {
        return DigestKind::kCrc32;
    }
    return DigestKind::kSha256;
}

// One checksum file: its counts and what it prints.
class ChecksumFileCheck {
public:
    ChecksumFileCheck(const std::string& shownName, const CheckOptions& checkOptions)
        : quotedName(ShellQuoted(shownName)),
          options(checkOptions),
          lastKind(KindHint(shownName)) {}

    bool Run(int fd);

private:
    bool Printing() const { return options.verbosity != CheckVerbosity::kStatus; }
    // `mayWait`: the line may wait for the first proper line, which names its digest.
    void Improper(uint64_t line, bool mayWait);
    void Hash(std::vector<ListedFile>& files);
    void ImproperAfter(std::size_t fileCount);
    void Report(const ListedFile& listed, const FileEntry& entry);
    void PrintName(const std::string& name) const;
    bool Summary();

    const std::string quotedName;
    const CheckOptions& options;
    // Names the digest in warnings about improper lines: that of the last proper line.
    DigestKind lastKind;
    // Improper lines before the first proper one wait for it, to be named by its digest.
    std::vector<uint64_t> unnamedImproper;
    // Improper lines after the n-th file of the batch being read, reported in their place.
    std::deque<std::pair<std::size_t, uint64_t>> improperAfter;
    uint64_t improper = 0;
    uint64_t unreadable = 0;
    uint64_t mismatched = 0;
    bool properLines = false;
    bool matched = false;
};

bool ChecksumFileCheck::Run(int fd) {
    ChecksumFileReader reader(fd);
    std::vector<ListedFile> batch;
    for (;;) {
        const ChecksumFileReader::Event event = reader.Next();
        if (event == ChecksumFileReader::Event::kFile) {
            properLines = true;
            lastKind = reader.File().digests.back().kind;
            for (const uint64_t line : std::exchange(unnamedImproper, {})) {
                Improper(line, false);
            }
            batch.push_back(reader.File());
            if (batch.size() == kFilesPerBatch) {
                Hash(batch);
            }
        } else if (event == ChecksumFileReader::Event::kImproper) {
            if (batch.empty()) {
                Improper(reader.ImproperLine(), true);
            } else {
                improperAfter.emplace_back(batch.size(), reader.ImproperLine());
            }
        } else {
            Hash(batch);
            if (event == ChecksumFileReader::Event::kReadError) {
                Warn(quotedName + ": read error");
                return false;
            }
            for (const uint64_t line : std::exchange(unnamedImproper, {})) {
                Improper(line, false);
            }
            return Summary();
        }
    }
}

void ChecksumFileCheck::Improper(uint64_t line, bool mayWait) {
    if (options.verbosity != CheckVerbosity::kWarn) {
        ++improper;
        return;
    }
    if (mayWait && !properLines && unnamedImproper.size() < kFilesPerBatch * 64) {
        unnamedImproper.push_back(line);
        return;
    }
    ++improper;
    Warn(quotedName + ": " + std::to_string(line) + ": improperly formatted " + KindName(lastKind) +
         " checksum line");
}

void ChecksumFileCheck::Hash(std::vector<ListedFile>& files) {
    if (files.empty()) {
        return;
    }
    std::vector<std::string> names;
    ProgramSettings settings;
    HashSelection selection{false, false, false, false};
    for (const ListedFile& file : files) {
        names.push_back(file.name);
        AddToSelection(file, selection);
    }
    settings.SetHashes(selection);
    HashFiles(names, settings, options.progress, [&](std::size_t index, const FileEntry& entry) {
        Report(files[index], entry);
        ImproperAfter(index + 1);
        return true;
    });
    ImproperAfter(files.size());
    files.clear();
}

void ChecksumFileCheck::ImproperAfter(std::size_t fileCount) {
    while (!improperAfter.empty() && improperAfter.front().first <= fileCount) {
        Improper(improperAfter.front().second, false);
        improperAfter.pop_front();
    }
}

void ChecksumFileCheck::Report(const ListedFile& listed, const FileEntry& entry) {
    if (options.ignoreMissing && entry.outcome == FileOutcome::kNotOpened &&
        entry.errorNumber == ENOENT) {
        return;
    }
    HashSelection selection{false, false, false, false};
    AddToSelection(listed, selection);
    const std::string reason = FailureReason(entry, selection);
    for (const ListedDigest& digest : listed.digests) {
        const char* verdict = "OK";
        if (!reason.empty()) {
            ++unreadable;
            Warn(ShellQuoted(listed.name) + ": " + reason);
            verdict = "FAILED open or read";
        } else if (DigestMatches(digest, entry)) {
            matched = true;
            if (options.verbosity == CheckVerbosity::kQuiet) {
                continue;
            }
        } else {
            ++mismatched;
            verdict = "FAILED";
        }
        if (Printing()) {
            PrintName(listed.name);
            std::cout << ": " << verdict << '\n';
        }
    }
}

// A name with a line feed would break the line: it is escaped, and the line marked by a
// leading backslash.
void ChecksumFileCheck::PrintName(const std::string& name) const {
    if (name.find('\n') == std::string::npos) {
        std::cout << name;
        return;
    }
    std::cout << '\\';
    for (const char c : name) {
        std::cout << (c == '\\'   ? "\\\\"
                      : c == '\n' ? "\\n"
                      : c == '\r' ? "\\r"
                                  : std::string(1, c));
    }
}

bool ChecksumFileCheck::Summary() {
    if (!properLines) {
        Warn(quotedName + ": no properly formatted checksum lines found");
        return false;
    }
    if (Printing()) {
        if (improper != 0) {
            Warn(Plural(improper, " line is improperly formatted",
                        " lines are improperly formatted"));
        }
        if (unreadable != 0) {
            Warn(Plural(unreadable, " listed file could not be read",
                        " listed files could not be read"));
        }
        if (mismatched != 0) {
            Warn(Plural(mismatched, " computed checksum did NOT match",
                        " computed checksums did NOT match"));
        }
        if (options.ignoreMissing && !matched) {
            Warn(quotedName + ": no file was verified");
        }
    }
    return matched && mismatched == 0 && unreadable == 0 && (!options.strict || improper == 0);
}

bool CheckOne(const std::string& checksumFile, const CheckOptions& options) {
    const bool standardInput = checksumFile == "-";
    const std::string shown = standardInput ? "standard input" : checksumFile;
    const int fd =
        standardInput ? STDIN_FILENO : ::open(checksumFile.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        Warn(ShellQuoted(shown) + ": " + std::strerror(errno));
        return false;
    }
    ChecksumFileCheck check(shown, options);
    const bool verified = check.Run(fd);
    if (!standardInput) {
        ::close(fd);
    }
    return verified;
}

}  // namespace

int CheckChecksumFiles(const std::vector<std::string>& checksumFiles, const CheckOptions& options) {
    // Names in messages are quoted by what the user's locale can print.
    std::setlocale(LC_CTYPE, "");
    bool verified = true;
    for (const std::string& file : checksumFiles) {
        verified = CheckOne(file, options) && verified;
    }
    if (!std::cout.flush()) {
        std::cerr << kProgram << ": write error\n";
        return 1;
    }
    if (const int signal = CaughtStopSignal(); signal != 0) {
        return 128 + signal;
    }
    return verified ? 0 : 1;
}

}  // namespace rizo
