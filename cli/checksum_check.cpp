// SPDX-License-Identifier: MIT
// rizodidiz-cli --check: verifies the files listed in checksum files.
#include "cli/checksum_check.h"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstring>
#include <deque>
#include <iostream>
#include <optional>
#include <utility>

#include "cli/check_audit.h"
#include "cli/check_line.h"
#include "cli/cli_batch.h"
#include "cli/file_report.h"
#include "cli/list_input.h"
#include "cli/read_once.h"
#include "cli/shell_quote.h"
#include "verify/checksum_file_reader.h"
#include "verify/checksum_name.h"
#include "verify/digest_verdict.h"

namespace rizo {

namespace {

constexpr char kProgram[] = "rizodidiz-cli";
// Files hashed per batch: the checksum file is read no further ahead than this.
constexpr std::size_t kFilesPerBatch = 1024;

// One write a message: standard error is unbuffered, and a list of many bad lines under --warn
// made four system calls of each.
void Warn(const std::string& text) {
    std::cout.flush();
    std::cerr << std::string(kProgram) + ": " + text + '\n';
}

std::string Plural(uint64_t count, const char* one, const char* many) {
    return std::to_string(count) + (count == 1 ? one : many);
}

// Before any proper line, the digest a checksum file's name suggests (MD5SUMS, x.sha1, x.sfv),
// SHA256 when it suggests none.
DigestKind KindHint(std::string_view path) {
    return NamedKind(path).value_or(DigestKind::kSha256);
}

// xxhsum's lines, which xxhsum -c words its own way.
bool IsXxh(DigestKind kind) {
    return kind == DigestKind::kXxh64 || kind == DigestKind::kXxh3 || kind == DigestKind::kXxh128;
}

// A message as xxhsum -c gives it, without the program's name.
void Say(std::ostream& stream, const std::string& text) {
    std::cout.flush();
    stream << text + '\n';
}

// A line that lists no file: improperly formatted, or of a digest the program does not read.
struct BadLine {
    uint64_t line = 0;
    // The unread digest's name; empty for an improper line.
    std::string digest;
};

// What the checks of all lists share: standard input, and the files read once for all lines.
struct SharedChecks {
    // A listed file "-" cannot be read when standard input holds a list itself.
    bool standardInputIsList = false;
    ReadOnce readOnce;
    // With --audit.
    CheckAudit* audit = nullptr;

    bool Unreadable(const ListedFile& listed) const {
        return standardInputIsList && listed.name == kStandardInputName;
    }
};

// A listed file of the batch being read, and where its result comes from.
struct BatchFile {
    ListedFile listed;
    ReadOnce::Turn turn;
};

// One checksum file: its counts and what it prints.
class ChecksumFileCheck {
public:
    // `xxhsumName`: the list as xxhsum -c names it.
    ChecksumFileCheck(const std::string& shownName, std::string xxhsumName,
                      const CheckOptions& checkOptions, SharedChecks& sharedChecks)
        : shown(shownName),
          quotedName(ShellQuoted(shownName)),
          xxhName(std::move(xxhsumName)),
          options(checkOptions),
          shared(sharedChecks),
          lastKind(KindHint(shownName)),
          xxhsum(IsXxh(lastKind)) {}

    // `copyError`: the list's bytes were copied and the copy was cut short by that error.
    bool Run(int fd, int copyError);

private:
    bool Printing() const { return options.verbosity != CheckVerbosity::kStatus; }
    // A count of the summary: a warning as coreutils words it, or xxhsum's line on standard output.
    void SummaryLine(const std::string& text) const;
    // The files of the batch are read for one BLAKE2b length: a file listed with another waits
    // for the next batch.
    bool NeedsOtherBlake2b(const HashSelection& digests) const;
    // `mayWait`: the line may wait for the first proper line, which names its digest.
    void Bad(BadLine bad, bool mayWait);
    void Hash();
    // Reports the files of the batch up to `end` that are judged from a result read before.
    void ReportSharedUpTo(std::size_t end);
    void BadAfter(std::size_t fileCount);
    // `reason`: why the file was not read, when the entry does not say.
    void Report(const ListedFile& listed, const FileEntry& entry, std::string reason = {});
    void ReportStandardInput(const ListedFile& listed);
    // With --audit, a missing file that moved is reported so in place of its missing lines.
    bool ReportMoved(const ListedFile& listed, const FileEntry& entry) const;
    bool Summary();

    const std::string shown;
    const std::string quotedName;
    const std::string xxhName;
    const CheckOptions& options;
    SharedChecks& shared;
    // Names the digest in warnings about improper lines: that of the last proper line.
    DigestKind lastKind;
    // The list is worded as xxhsum -c words its lists: by its first proper line, or its name
    // until one is read.
    bool xxhsum;
    // Bad lines before the first proper one wait for it, to be named by its digest.
    std::vector<BadLine> waiting;
    std::vector<BatchFile> batch;
    // The BLAKE2b length the batch's files are read for; 0 while none is.
    int batchBlake2bBits = 0;
    // Files of the batch reported, or left without a result by a stop.
    std::size_t batchDone = 0;
    // Bad lines after the n-th file of the batch being read, reported in their place.
    std::deque<std::pair<std::size_t, BadLine>> badAfter;
    // Lines of each digest not read, in the order first seen.
    std::vector<std::pair<std::string, uint64_t>> unread;
    uint64_t improper = 0;
    uint64_t unreadable = 0;
    uint64_t mismatched = 0;
    bool properLines = false;
    bool matched = false;
};

bool ChecksumFileCheck::Run(int fd, int copyError) {
    ChecksumFileReader reader(fd, shown);
    for (;;) {
        const ChecksumFileReader::Event event = reader.Next();
        if (event == ChecksumFileReader::Event::kFile) {
            const ListedDigest& first = reader.File().digests.front();
            xxhsum = properLines ? xxhsum : IsXxh(first.kind) && !first.orKind;
            properLines = true;
            lastKind = reader.File().digests.back().kind;
            for (BadLine& bad : std::exchange(waiting, {})) {
                Bad(std::move(bad), false);
            }
            if (shared.Unreadable(reader.File())) {
                Hash();
                ReportStandardInput(reader.File());
                continue;
            }
            ReadOnce::Turn turn = shared.readOnce.Next(reader.File());
            if (turn.read && NeedsOtherBlake2b(turn.digests)) {
                Hash();
            }
            if (turn.read && turn.digests.blake2b) {
                batchBlake2bBits = turn.digests.blake2bBits;
            }
            batch.push_back({reader.File(), std::move(turn)});
            if (batch.size() == kFilesPerBatch) {
                Hash();
            }
        } else if (event == ChecksumFileReader::Event::kImproper) {
            BadLine bad{reader.ImproperLine(), reader.UnreadDigest()};
            if (batch.empty()) {
                Bad(std::move(bad), true);
            } else {
                badAfter.emplace_back(batch.size(), std::move(bad));
            }
        } else {
            Hash();
            if (event == ChecksumFileReader::Event::kReadError || copyError != 0) {
                Warn(quotedName + ": read error");
                return false;
            }
            for (BadLine& bad : std::exchange(waiting, {})) {
                Bad(std::move(bad), false);
            }
            return Summary();
        }
    }
}

void ChecksumFileCheck::Bad(BadLine bad, bool mayWait) {
    if (options.verbosity == CheckVerbosity::kWarn && mayWait && !properLines &&
        waiting.size() < kFilesPerBatch * 64) {
        waiting.push_back(std::move(bad));
        return;
    }
    // Past what may wait, the lines waiting go first, so the warnings keep the lines' order.
    for (BadLine& earlier : std::exchange(waiting, {})) {
        Bad(std::move(earlier), false);
    }
    if (bad.digest.empty()) {
        ++improper;
    } else {
        auto counted = std::find_if(unread.begin(), unread.end(),
                                    [&bad](const auto& each) { return each.first == bad.digest; });
        if (counted == unread.end()) {
            counted = unread.insert(unread.end(), {bad.digest, 0});
        }
        ++counted->second;
    }
    if (options.verbosity != CheckVerbosity::kWarn) {
        return;
    }
    if (xxhsum && bad.digest.empty()) {
        Say(std::cerr, xxhName + ":" + std::to_string(bad.line) +
                           ": Error: Improperly formatted checksum line.");
        return;
    }
    Warn(quotedName + ": " + std::to_string(bad.line) + ": " +
         (bad.digest.empty()
              ? "improperly formatted " + std::string(KindName(lastKind)) + " checksum line"
              : bad.digest + " lines are not supported"));
}

void ChecksumFileCheck::Hash() {
    // The files read now, by their place in the batch, and the digests all of their lines list.
    std::vector<std::string> names;
    std::vector<std::size_t> places;
    HashSelection selection{false, false, false, false};
    for (std::size_t place = 0; place < batch.size(); ++place) {
        const ReadOnce::Turn& turn = batch[place].turn;
        if (turn.read) {
            names.push_back(batch[place].listed.name);
            places.push_back(place);
            AddDigests(turn.digests, selection);
        }
    }
    batchDone = 0;
    if (!names.empty()) {
        HashFiles(names, {.hashes = selection, .fileTimes = false}, options.progress,
                  [&](std::size_t index, const FileEntry& entry) {
                      ReportSharedUpTo(places[index]);
                      BatchFile& file = batch[places[index]];
                      if (file.turn.result) {
                          file.turn.result->emplace(entry);
                      }
                      Report(file.listed, entry);
                      BadAfter(++batchDone);
                      return true;
                  });
    }
    ReportSharedUpTo(batch.size());
    BadAfter(batch.size());
    batch.clear();
    batchBlake2bBits = 0;
}

void ChecksumFileCheck::ReportSharedUpTo(std::size_t end) {
    for (; batchDone < end; ++batchDone) {
        const BatchFile& file = batch[batchDone];
        // After a stop, as for the files read, no more results are shown.
        if (!file.turn.read && file.turn.result->has_value() && CaughtStopSignal() == 0) {
            Report(file.listed, (*file.turn.result)->Entry());
            BadAfter(batchDone + 1);
        }
    }
}

void ChecksumFileCheck::BadAfter(std::size_t fileCount) {
    while (!badAfter.empty() && badAfter.front().first <= fileCount) {
        Bad(std::move(badAfter.front().second), false);
        badAfter.pop_front();
    }
}

void ChecksumFileCheck::Report(const ListedFile& listed, const FileEntry& entry,
                               std::string reason) {
    if (ReportMoved(listed, entry) ||
        (options.ignoreMissing && entry.outcome == FileOutcome::kNotOpened &&
         entry.errorNumber == ENOENT)) {
        return;
    }
    if (reason.empty()) {
        reason = FailureReason(entry, NeededOf(listed, entry));
    }
    for (const ListedDigest& digest : listed.digests) {
        const char* verdict = "OK";
        if (!reason.empty()) {
            ++unreadable;
            if (xxhsum) {
                // Only a message on standard output, in place of the verdict.
                if (Printing()) {
                    Say(std::cout, xxhName + ":" + std::to_string(digest.line) +
                                       ": Could not open or read '" + listed.name + "': " + reason +
                                       ".");
                }
                continue;
            }
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
            std::cout << CheckLine(listed.name, verdict);
        }
    }
}

void ChecksumFileCheck::ReportStandardInput(const ListedFile& listed) {
    FileEntry entry;
    entry.outcome = FileOutcome::kNotOpened;
    Report(listed, entry, "standard input is the checksum list");
}

bool ChecksumFileCheck::ReportMoved(const ListedFile& listed, const FileEntry& entry) const {
    if (shared.audit == nullptr || entry.outcome != FileOutcome::kNotOpened ||
        entry.errorNumber != ENOENT) {
        return false;
    }
    const std::optional<std::string> place = shared.audit->MovedTo(listed.name);
    if (place && Printing()) {
        for (std::size_t line = 0; line < listed.digests.size(); ++line) {
            std::cout << MovedLine(listed.name, *place);
        }
    }
    return place.has_value();
}

bool ChecksumFileCheck::Summary() {
    if (!properLines) {
        for (const auto& [digest, count] : unread) {
            Warn(quotedName + ": " + digest + " lines are not supported");
        }
        if (unread.empty() && xxhsum) {
            Say(std::cerr, xxhName + ": no properly formatted xxHash checksum lines found");
        } else if (unread.empty()) {
            Warn(quotedName + ": no properly formatted checksum lines found");
        }
        return false;
    }
    if (Printing()) {
        if (improper != 0) {
            SummaryLine(Plural(improper, " line is improperly formatted",
                               " lines are improperly formatted"));
        }
        for (const auto& [digest, count] : unread) {
            SummaryLine(Plural(count, (" " + digest + " line is not supported").c_str(),
                               (" " + digest + " lines are not supported").c_str()));
        }
        if (unreadable != 0) {
            SummaryLine(Plural(unreadable, " listed file could not be read",
                               " listed files could not be read"));
        }
        if (mismatched != 0) {
            SummaryLine(Plural(mismatched, " computed checksum did NOT match",
                               " computed checksums did NOT match"));
        }
        if (options.ignoreMissing && !matched) {
            Warn(quotedName + ": no file was verified");
        }
    }
    return matched && mismatched == 0 && unreadable == 0 &&
           (!options.strict || improper + unread.size() == 0);
}

void ChecksumFileCheck::SummaryLine(const std::string& text) const {
    if (xxhsum) {
        Say(std::cout, text);
    } else {
        Warn("WARNING: " + text);
    }
}

bool ChecksumFileCheck::NeedsOtherBlake2b(const HashSelection& digests) const {
    return digests.blake2b && batchBlake2bBits != 0 && digests.blake2bBits != batchBlake2bBits;
}

std::string ShownName(const std::string& checksumFile) {
    return checksumFile == "-" ? "standard input" : checksumFile;
}

// The first pass: which files the list names and with which digests. A list that cannot be
// opened or read is reported by the check.
void CountListed(ListInput& input, const std::string& checksumFile, SharedChecks& shared) {
    const int fd = input.Open();
    if (fd < 0) {
        return;
    }
    ChecksumFileReader reader(fd, ShownName(checksumFile));
    for (ChecksumFileReader::Event event = reader.Next();
         event != ChecksumFileReader::Event::kEnd && event != ChecksumFileReader::Event::kReadError;
         event = reader.Next()) {
        if (event != ChecksumFileReader::Event::kFile) {
            continue;
        }
        if (shared.audit != nullptr) {
            shared.audit->Listed(reader.File());
        }
        if (!shared.Unreadable(reader.File())) {
            shared.readOnce.Count(reader.File());
        }
    }
    input.Close();
}

bool CheckOne(ListInput& input, const std::string& checksumFile, const CheckOptions& options,
              SharedChecks& shared) {
    const std::string shown = ShownName(checksumFile);
    const int fd = input.Open();
    if (fd < 0) {
        Warn(ShellQuoted(shown) + ": " + std::strerror(errno));
        return false;
    }
    ChecksumFileCheck check(shown, checksumFile == "-" ? "stdin" : checksumFile, options, shared);
    const bool verified = check.Run(fd, input.CopyError());
    input.Close();
    return verified;
}

}  // namespace

int CheckChecksumFiles(const std::vector<std::string>& checksumFiles, const CheckOptions& options) {
    // Names in messages are quoted by what the user's locale can print.
    std::setlocale(LC_CTYPE, "");
    SharedChecks shared;
    shared.standardInputIsList =
        std::find(checksumFiles.begin(), checksumFiles.end(), "-") != checksumFiles.end();
    std::deque<ListInput> inputs;
    std::optional<CheckAudit> audit;
    if (options.audit) {
        shared.audit = &audit.emplace(checksumFiles);
    }
    for (const std::string& file : checksumFiles) {
        CountListed(inputs.emplace_back(file), file, shared);
    }
    if (audit) {
        audit->FindMoves(options.progress);
    }
    bool verified = true;
    for (std::size_t list = 0; list < checksumFiles.size(); ++list) {
        verified = CheckOne(inputs[list], checksumFiles[list], options, shared) && verified;
    }
    if (audit && CaughtStopSignal() == 0) {
        verified = audit->Report(options.verbosity) && verified;
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
