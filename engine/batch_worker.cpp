// The hashing batch: worker thread, results, progress state, stop and end of batch.
#include "engine/batch_worker.h"

#include <algorithm>
#include <cerrno>
#include <system_error>
#include <utility>

namespace rizo {

namespace {

// The progress is reported at every new tenth of a percentage point, and not more often.
int Tenths(float percent) {
    return static_cast<int>(percent * 10.0f);
}

}  // namespace

BatchWorker::BatchWorker(DigestEngine& digestEngine, const ProgramSettings& programSettings,
                         MessagePoster& messagePoster, BatchHost& batchHost)
    : engine(digestEngine), settings(programSettings), poster(messagePoster), host(batchHost) {}

BatchWorker::~BatchWorker() {
    stopRequested = true;
    JoinWorker();
}

void BatchWorker::JoinWorker() {
    if (workerThread.joinable()) {
        workerThread.join();
    }
}

bool BatchWorker::StartWorker() {
    if (busy) {
        return false;
    }
    // The previous worker posted UM_HASH_BATCH_DONE as its last act, so this wait is short.
    JoinWorker();
    host.SetSortable(false);
    {
        std::lock_guard lock(resultsLock);
        Results.clear();
    }
    selection = settings.Hashes();
    uppercase = settings.ShowHashInUppercase;
    try {
        workerThread = std::thread(&BatchWorker::WorkerMain, this);
    } catch (const std::system_error&) {
        host.SetSortable(true);
        return false;
    }
    busy = true;
    host.RefreshCommandStates();
    return true;
}

void BatchWorker::StopHashing() {
    // A flag set while idle would end the next batch within its first file.
    if (!busy) {
        return;
    }
    stopRequested = true;
    JoinWorker();
}

void BatchWorker::FinishBatch() {
    busy = false;
    stopRequested = false;
    host.MarkDuplicates();
    ResetProgress();
    host.ShowProgress();
    host.RefreshCommandStates();
    host.SetSortable(true);
    if (settings.ShowBeepMessage) {
        host.Beep();
    }
}

FileEntry BatchWorker::Result(int64_t index) const {
    std::lock_guard lock(resultsLock);
    if (index < 0 || static_cast<uint64_t>(index) >= Results.size()) {
        return {};
    }
    return Results[static_cast<std::size_t>(index)];
}

std::string BatchWorker::CurrentName() const {
    std::lock_guard lock(currentLock);
    return currentName;
}

std::string BatchWorker::CurrentFolder() const {
    std::lock_guard lock(currentLock);
    return currentFolder;
}

void BatchWorker::SetCurrent(std::string name, std::string folder) {
    std::lock_guard lock(currentLock);
    currentName = std::move(name);
    currentFolder = std::move(folder);
}

void BatchWorker::ResetProgress() {
    currentRow = -1;
    lastProgress = 0;
    SetCurrent({}, {});
}

void BatchWorker::WorkerMain() {
    ResetProgress();
    // Equal lengths are the window's promise; a path without a row has nowhere to show its result.
    const std::size_t count = std::min(PendingPaths.size(), PendingRows.size());
    for (std::size_t i = 0; i < count; ++i) {
        const int32_t row = PendingRows[i];
        currentRow = row;
        FileEntry entry;
        HashOneFile(PendingPaths[i], entry);
        int64_t index = 0;
        {
            std::lock_guard lock(resultsLock);
            index = static_cast<int64_t>(Results.size());
            Results.push_back(std::move(entry));
        }
        poster.Post(UM_HASH_FILE_DONE, row, index);
        if (stopRequested) {
            break;
        }
    }
    PendingPaths = {};
    PendingRows = {};
    ResetProgress();
    poster.Post(UM_HASH_BATCH_DONE, 0, 0);
}

void BatchWorker::HashOneFile(const std::string& path, FileEntry& entry) {
    entry = {};
    // Paths given on a command line may be relative: a name without a folder is still a name. The
    // empty path queued for a row that never had a result leaves the shown name and folder as
    // they were, and fails to open.
    if (!path.empty()) {
        const std::size_t slash = path.rfind('/');
        const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
        entry.path = path;
        entry.name = path.substr(nameStart);
        SetCurrent(entry.name, path.substr(0, nameStart));
    }
    errno = 0;
    if (!engine.Open(path, selection)) {
        entry.errorNumber = errno;
        return;
    }
    entry.size = engine.FileSize();
    entry.created = engine.CreatedText();
    entry.modified = engine.ModifiedText();
    ReadToEnd(entry);
    poster.Post(UM_HASH_PROGRESS, 0, 0);
    engine.Close();
}

void BatchWorker::ReadToEnd(FileEntry& entry) {
    lastProgress = 0;
    bool atEnd = false;
    int readError = 0;
    while (!atEnd) {
        float progress = 0;
        engine.ReadNext(progress, atEnd);
        readError = errno;
        if (Tenths(lastProgress) != Tenths(progress)) {
            lastProgress = progress;
            poster.Post(UM_HASH_PROGRESS, 0, 0);
        }
        if (stopRequested) {
            entry.outcome = FileOutcome::kStopped;
            return;
        }
    }
    // Digests of the bytes before a failed read would look complete: the file gets none.
    if (engine.ReadFailed()) {
        entry.outcome = FileOutcome::kReadFailed;
        entry.errorNumber = readError;
        return;
    }
    entry.outcome = FileOutcome::kRead;
    entry.md5 = engine.DigestText(kCalgMd5, uppercase);
    entry.sha1 = engine.DigestText(kCalgSha1, uppercase);
    entry.crc32 = engine.CrcText(uppercase);
    entry.sha256 = engine.DigestText(kCalgSha256, uppercase);
}

}  // namespace rizo
