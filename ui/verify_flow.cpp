// SPDX-License-Identifier: MIT
// Verify Checksum File..., from the files chosen to the answer.
#include "ui/verify_flow.h"

#include <QStringList>
#include <QWidget>

#include "base/value_format.h"
#include "filelist/folder_scan.h"
#include "filelist/pending_batch.h"
#include "ui/batch_outcome.h"
#include "ui/batch_view.h"
#include "ui/file_dialogs.h"
#include "ui/message_box.h"
#include "ui/sort_list_view.h"
#include "verify/verification.h"

namespace rizo {
namespace {

// What went wrong with the checksum files, one line each.
QString ErrorLines(const Verification& run) {
    QStringList lines;
    for (const std::string& error : run.Errors()) {
        lines << QString::fromLocal8Bit(error);
    }
    return lines.join(QLatin1Char('\n'));
}

// The checksum file being read and its lines read so far.
std::optional<std::string> ReadingText(const Verification& run) {
    const std::optional<Verification::ReadPoint> reading = run.Reading();
    if (!reading) {
        return std::nullopt;
    }
    const std::size_t slash = reading->file.rfind('/');
    return "Reading " + reading->file.substr(slash + 1) + " \u00b7 " +
           FormatFileSize(reading->lines) + (reading->lines == 1 ? " line" : " lines");
}

// The files under the audited folder that no list names join the batch.
std::vector<ScanFailure> AuditFolder(Verification& run, std::vector<std::string>& paths,
                                     ScanControl& control) {
    std::vector<std::string> found;
    std::vector<ScanFailure> failures = ScanFolder(run.AuditFolder(), found, &control);
    if (!control.cancelled) {
        run.Audit(found, paths);
        control.found = paths.size();
    }
    return failures;
}

}  // namespace

VerifyFlow::VerifyFlow(Window parts, BatchView& batchView)
    : window(std::move(parts)), batch(batchView) {}

VerifyFlow::~VerifyFlow() = default;

void VerifyFlow::Choose(QWidget* owner, bool audit) {
    if (batch.Busy()) {
        return;
    }
    if (const std::optional<std::string> path = AskChecksumFile(owner, window.lastFolder)) {
        Start({*path}, {}, audit);
    }
}

void VerifyFlow::Start(const std::vector<std::string>& checksumFiles,
                       const std::vector<std::string>& plainItems, bool audit) {
    if (batch.Busy()) {
        return;
    }
    verification = std::make_unique<Verification>(checksumFiles);
    // This keeps the verification until the scan has ended, which the batch ends first.
    Verification* read = verification.get();
    batch.Collect({
        .collect =
            [read, plainItems, audit](std::vector<std::string>& paths, ScanControl& control) {
                read->Read(control.cancelled);
                if (control.cancelled || read->PathCount() == 0) {
                    return std::vector<ScanFailure>{};
                }
                read->AppendPaths(paths);
                // The title counts the listed files too, as files the batch will hash.
                control.found = paths.size();
                return audit ? AuditFolder(*read, paths, control)
                             : CollectDroppedItems(plainItems, paths, &control);
            },
        .collected = [read](const std::vector<std::string>& paths) { read->IndexPaths(paths); },
        .progress = [read] { return ReadingText(*read); },
        .ended = [this](std::optional<int> foldersNotRead) { Read(foldersNotRead); },
    });
}

void VerifyFlow::Read(std::optional<int> foldersNotRead) {
    if (!foldersNotRead) {
        verification.reset();
        return;
    }
    if (verification->PathCount() == 0) {
        ShowMessage(window.frame, ErrorLines(*verification), true);
        verification.reset();
        window.refreshCommands();
        return;
    }
    verification->Bind(batch.Worker().PendingRows);
    ClearVerdicts();
    window.switchOn(verification->Needed());
    window.list.SetColumnHidden(kColVerdict, false);
    if (!batch.Start(*foldersNotRead, verification.get(),
                     [this](BatchOutcome& outcome) { Finish(outcome); })) {
        verification.reset();
    }
}

void VerifyFlow::ClearVerdicts() {
    FileListModel& rows = window.list.Model();
    for (const int32_t row : batch.Worker().PendingRows) {
        if (!rows.CellText(row, kColVerdict).empty()) {
            rows.SetCellText(row, kColVerdict, "");
        }
    }
}

void VerifyFlow::Finish(BatchOutcome& outcome) {
    const std::unique_ptr<Verification> run = std::move(verification);
    outcome.Settle(*run);
    const BatchOutcome::Answer answer = outcome.Finish(*run, ErrorLines(*run));
    // At most half the window's width (the list's is not laid out before the window is first
    // shown): a longer verdict is elided, and its tooltip is whole.
    window.list.WidenToShow(kColVerdict, QString::fromLocal8Bit(outcome.LongestVerdict()),
                            window.frame.width() / 2);
    ShowMessage(window.frame, answer.text, answer.warning, answer.title);
}

}  // namespace rizo
