// SPDX-License-Identifier: MIT
// Verify Checksum File...: the checksum files chosen or dropped, their lists read on a scan's
// thread, the listed files given rows and hashed in one batch, each result judged, and the answer
// in a message box.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/hash_selection.h"

class QWidget;

namespace rizo {

class BatchOutcome;
class BatchView;
class SortListView;
class Verification;

class VerifyFlow {
public:
    // The parts of the window a verification shows in.
    struct Window {
        // Owns the answer's box; the verdict column takes at most half its width.
        QWidget& frame;
        SortListView& list;
        // Where the file dialog opens; see AskChecksumFile.
        std::string& lastFolder;
        // Switches on those of the digests that are off.
        std::function<void(const HashSelection& digests)> switchOn;
        std::function<void()> refreshCommands;
    };

    // The batches of `batch` hash the listed files; it must go before this does.
    VerifyFlow(Window window, BatchView& batch);
    ~VerifyFlow();

    // Verifies the checksum file chosen in a dialog owned by `owner`, with `audit` also auditing
    // its folder (see Start); nothing while busy.
    void Choose(QWidget* owner, bool audit = false);
    // Reads the checksum files and collects the plain dropped items as a folder scan does, on a
    // thread of its own that Stop cancels, adding nothing. Then makes rows of the listed files
    // (with the plain items as ordinary rows), switches on the digests they need and hashes them
    // in one batch, after which each listed row shows its verdict and a message box the overall
    // one. When no checksum file lists anything, a message box says why and the list stays as it
    // was. With `audit`, instead of plain items, the files under the first checksum file's folder
    // that no list names get rows too, judged NEW, and a missing listed file that one of them has
    // the listed digests of is shown MOVED there (Verification::Audit). Nothing while busy.
    void Start(const std::vector<std::string>& checksumFiles,
               const std::vector<std::string>& plainItems, bool audit = false);

private:
    // Once the lists are read and the rows made; `foldersNotRead` has no value after a cancel.
    void Read(std::optional<int> foldersNotRead);
    // Only rows an earlier verification judged have a verdict to clear: a signal for each of a
    // million new rows would hold the window.
    void ClearVerdicts();
    void Finish(BatchOutcome& outcome);

    Window window;
    BatchView& batch;
    // The verification being read or hashed.
    std::unique_ptr<Verification> verification;
};

}  // namespace rizo
