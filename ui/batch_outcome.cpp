// SPDX-License-Identifier: MIT
// What a batch's results tell the user: row notes, the title's counts, a verification's answer.
#include "ui/batch_outcome.h"

#include <QStringList>
#include <algorithm>
#include <cerrno>

#include "base/value_format.h"
#include "ui/file_list_model.h"
#include "verify/verification.h"

namespace rizo {
namespace {

// "1 file" or "3 files".
QString FileCount(uint64_t count) {
    return count == 1
               ? QStringLiteral("1 file")
               : QStringLiteral("%1 files").arg(QString::fromStdString(FormatFileSize(count)));
}

QString ListName(const Verification& run) {
    if (run.Files().size() != 1) {
        return QStringLiteral("%1 checksum files").arg(run.Files().size());
    }
    const std::string& file = run.Files().front();
    return QString::fromLocal8Bit(file.substr(file.rfind('/') + 1));
}

}  // namespace

std::string SizeText(const FileEntry& entry) {
    switch (entry.outcome) {
        case FileOutcome::kNotOpened:
        case FileOutcome::kNotRegular:
        case FileOutcome::kNotFinished:
            return "";
        default:
            return FormatFileSize(entry.size);
    }
}

void BatchOutcome::Start(int foldersNotListed) {
    failed = missing = unreadable = 0;
    foldersNotRead = foldersNotListed;
    missingRows.clear();
    matchedName.clear();
    longestVerdict.clear();
}

void BatchOutcome::Show(int32_t row, const FileEntry& entry, Verification* verification) {
    // A file the user stopped is not judged: the answer counts it as not checked, and its row only
    // says why it has no digests.
    const bool stopped =
        entry.outcome == FileOutcome::kStopped || entry.outcome == FileOutcome::kNotFinished;
    const std::optional<std::string> verdict =
        verification != nullptr && !stopped ? verification->Judge(row, entry) : std::nullopt;
    if (verdict || !rows.CellText(row, kColVerdict).empty()) {
        rows.SetCellText(row, kColVerdict, verdict.value_or(""));
    }
    if (verdict && verdict->size() > longestVerdict.size()) {
        longestVerdict = *verdict;
    }
    if (stopped) {
        Note(row, OutcomeReason(entry), false);
        return;
    }
    int* count = FailureCount(entry, verdict);
    if (count == nullptr) {
        matchedName = verdict && verdict->starts_with("OK") ? entry.name : matchedName;
        Note(row, "", false);
        return;
    }
    ++*count;
    if (count == &missing && verdict) {
        missingRows.push_back(row);
    }
    Note(row, entry.outcome == FileOutcome::kRead ? *verdict : OutcomeReason(entry), true);
}

int* BatchOutcome::FailureCount(const FileEntry& entry, const std::optional<std::string>& verdict) {
    if (entry.outcome == FileOutcome::kRead) {
        if (!verdict || verdict->starts_with("OK") || *verdict == "NEW") {
            return nullptr;
        }
        // Read whole, but not what the checksum file lists, or a listed digest is missing.
        return verdict->starts_with("FAILED") ? &failed : &unreadable;
    }
    const bool gone = entry.outcome == FileOutcome::kNotOpened && entry.errorNumber == ENOENT;
    return gone ? &missing : &unreadable;
}

void BatchOutcome::Note(int32_t row, const std::string& text, bool failure) {
    rows.SetRowNote(row, text, failure ? RowNote::kFailure : RowNote::kRemark);
}

void BatchOutcome::MarkNotReached(const std::vector<int32_t>& notReached) {
    for (const int32_t row : notReached) {
        if (rows.CellText(row, kColSize).empty() || !rows.RowFailure(row).empty()) {
            Note(row, "not reached: hashing was stopped", false);
        }
    }
}

QString BatchOutcome::FailureNote() const {
    QStringList parts;
    if (failed > 0) {
        parts << FileCount(failed) + QStringLiteral(" failed");
    }
    if (missing > 0) {
        parts << FileCount(missing) + QStringLiteral(" missing");
    }
    QStringList unread;
    if (unreadable > 0) {
        unread << FileCount(unreadable);
    }
    if (foldersNotRead > 0) {
        unread << (foldersNotRead == 1 ? QStringLiteral("1 folder")
                                       : QStringLiteral("%1 folders").arg(foldersNotRead));
    }
    if (!unread.isEmpty()) {
        parts << unread.join(QStringLiteral(" and ")) + QStringLiteral(" could not be read");
    }
    return parts.join(QStringLiteral(", "));
}

void BatchOutcome::Settle(Verification& run) {
    for (const auto& [row, verdict] : run.Settle()) {
        rows.SetCellText(row, kColVerdict, verdict);
        Note(row, "", false);
        if (verdict.size() > longestVerdict.size()) {
            longestVerdict = verdict;
        }
        if (const auto at = std::find(missingRows.begin(), missingRows.end(), row);
            at != missingRows.end()) {
            missingRows.erase(at);
            --missing;
        }
    }
}

BatchOutcome::Answer BatchOutcome::Finish(const Verification& run, const QString& errors) {
    const Verification::Tally tally = run.Counts();
    Answer answer{QStringLiteral("Verification of ") + ListName(run), QString(), true};
    const bool presentMatch = errors.isEmpty() && tally.ok > 0 &&
                              tally.failed + tally.unreadable + tally.notChecked +
                                      tally.improperLines + tally.added + tally.moved ==
                                  0;
    if (!presentMatch) {
        answer.text = QString::fromStdString(run.Summary()) +
                      (errors.isEmpty() ? QString() : QStringLiteral("\n\n") + errors);
        return answer;
    }
    answer.warning = false;
    if (tally.ok == 1) {
        answer.text = QString::fromLocal8Bit(matchedName) + QStringLiteral(": OK");
    } else if (tally.missing > 0) {
        answer.text = QStringLiteral("All %1 present match").arg(FileCount(tally.ok));
    } else {
        answer.text = QString::fromStdString(run.Summary());
    }
    if (tally.missing > 0) {
        answer.text += QStringLiteral("\n%1 other listed %2 not present.")
                           .arg(QString::fromStdString(FormatFileSize(tally.missing)))
                           .arg(tally.missing == 1 ? "file is" : "files are");
    }
    // Not there is no fault here: the rows say so dimmed, and the title does not count them.
    for (const int32_t row : missingRows) {
        rows.SetRowNote(row, rows.RowFailure(row), RowNote::kAbsent);
    }
    missing -= static_cast<int>(missingRows.size());
    missingRows.clear();
    return answer;
}

}  // namespace rizo
