// SPDX-License-Identifier: MIT
// What a batch's results tell the user: each row's note and verdict, the counts the window title
// gives, and a verification's answer.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/file_entry.h"

namespace rizo {

class FileListModel;
class Verification;

// The Size cell's text: empty where the size is unknown, for a file never opened or left in a read
// that did not return.
std::string SizeText(const FileEntry& entry);

// The title's counts are the rows Select Failed picks among the batch's: files that could not be
// read, missing files and files that do not match their listed digests. Rows a Stop left unhashed
// only say so, without counting.
class BatchOutcome {
public:
    explicit BatchOutcome(FileListModel& list) : rows(list) {}

    // A new batch; `foldersNotRead` folders could not be listed when it was collected.
    void Start(int foldersNotRead);
    // Writes the row's verdict (when `verification` checks it; an ordinary batch clears the one it
    // makes stale) and its note, and counts a failure.
    void Show(int32_t row, const FileEntry& entry, Verification* verification);
    // Rows a stopped batch never reached that have no result, or a failed one, say so instead.
    void MarkNotReached(const std::vector<int32_t>& notReached);
    // "2 files missing, 1 file could not be read", say; empty when nothing failed.
    QString FailureNote() const;

    struct Answer {
        QString title;
        QString text;
        bool warning = true;
    };
    // Once a verification's batch has ended: the verdicts its audit changes, of missing files that
    // moved and of their new places. Neither is a failure: the answer counts them.
    void Settle(Verification& run);
    // A verification's answer. When nothing failed and every present file matched, it leads with
    // that, and the rows of the listed files that are not there are dimmed instead of failed.
    Answer Finish(const Verification& run, const QString& errors);
    // The longest verdict given since Start.
    const std::string& LongestVerdict() const { return longestVerdict; }

private:
    // The count a file that failed adds to; none for a file read whole that matched or is not
    // listed.
    int* FailureCount(const FileEntry& entry, const std::optional<std::string>& verdict);
    void Note(int32_t row, const std::string& text, bool failure);

    FileListModel& rows;
    int failed = 0;
    int missing = 0;
    int unreadable = 0;
    int foldersNotRead = 0;
    // Rows of listed files that are not there, and the name of the last listed file that matched.
    std::vector<int32_t> missingRows;
    std::string matchedName;
    std::string longestVerdict;
};

}  // namespace rizo
