// One hashing batch on its worker thread.
#include "engine/batch_run.h"

#include <algorithm>
#include <cerrno>
#include <utility>

namespace rizo {

namespace {

// The progress is reported at every new tenth of a percentage point, and not more often.
int Tenths(float percent) {
    return static_cast<int>(percent * 10.0f);
}

// Paths given on a command line may be relative: a name without a folder is still a name.
std::size_t NameStart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

}  // namespace

BatchRun::BatchRun(std::shared_ptr<DigestEngine> digestEngine, MessagePoster& messagePoster,
                   std::vector<std::string> queuedPaths, std::vector<int32_t> queuedRows,
                   HashSelection hashes, bool uppercaseDigests)
    : engine(std::move(digestEngine)),
      poster(messagePoster),
      paths(std::move(queuedPaths)),
      rows(std::move(queuedRows)),
      selection(hashes),
      uppercase(uppercaseDigests),
      bytesAtStart(engine->BytesReadInTotal()) {}

void BatchRun::Main() {
    engine->SetStopFlag(&stopRequested);
    ResetProgress();
    // Equal lengths are the window's promise; a path without a row has nowhere to show its result.
    const std::size_t count = std::min(paths.size(), rows.size());
    for (std::size_t i = 0; i < count && BeginFile(i); ++i) {
        FileEntry entry;
        HashOneFile(paths[i], entry);
        if (!FinishFile(std::move(entry)) || stopRequested) {
            break;
        }
    }
    engine->SetStopFlag(nullptr);
    ResetProgress();
    Post(UM_HASH_BATCH_DONE, 0, 0);
    std::lock_guard lock(endLock);
    ended = true;
    endSignal.notify_all();
}

bool BatchRun::WaitForEnd(std::chrono::milliseconds limit) {
    std::unique_lock lock(endLock);
    return endSignal.wait_for(lock, limit, [this] { return ended; });
}

void BatchRun::Abandon(bool announce) {
    std::lock_guard gate(gateLock);
    if (abandoned) {
        return;
    }
    abandoned = true;
    if (!announce) {
        return;
    }
    if (inFile) {
        FileEntry entry;
        entry.path = paths[fileIndex];
        entry.name = entry.path.substr(NameStart(entry.path));
        entry.outcome = FileOutcome::kNotFinished;
        AppendAndPost(rows[fileIndex], std::move(entry));
        inFile = false;
    }
    currentRow = -1;
    poster.Post(UM_HASH_BATCH_DONE, 0, 0);
}

void BatchRun::Post(int message, int64_t wParam, int64_t lParam) {
    std::lock_guard gate(gateLock);
    if (!abandoned) {
        poster.Post(message, wParam, lParam);
    }
}

bool BatchRun::BeginFile(std::size_t index) {
    std::lock_guard gate(gateLock);
    if (abandoned) {
        return false;
    }
    fileIndex = index;
    inFile = true;
    currentRow = rows[index];
    return true;
}

bool BatchRun::FinishFile(FileEntry entry) {
    std::lock_guard gate(gateLock);
    if (abandoned) {
        return false;
    }
    AppendAndPost(rows[fileIndex], std::move(entry));
    inFile = false;
    return true;
}

void BatchRun::AppendAndPost(int32_t row, FileEntry entry) {
    int64_t index = 0;
    {
        std::lock_guard lock(resultsLock);
        index = static_cast<int64_t>(results.size());
        results.push_back(std::move(entry));
    }
    poster.Post(UM_HASH_FILE_DONE, row, index);
}

FileEntry BatchRun::Result(int64_t index) const {
    std::lock_guard lock(resultsLock);
    if (index < 0 || static_cast<uint64_t>(index) >= results.size()) {
        return {};
    }
    return results[static_cast<std::size_t>(index)];
}

BatchCounts BatchRun::Counts() const {
    BatchCounts counts;
    {
        std::lock_guard lock(resultsLock);
        counts.filesDone = results.size();
    }
    counts.filesTotal = std::min(paths.size(), rows.size());
    counts.bytesDone = engine->BytesReadInTotal() - bytesAtStart;
    return counts;
}

std::vector<int32_t> BatchRun::RowsNotReached() const {
    std::lock_guard lock(resultsLock);
    const std::size_t handled = std::min(results.size(), rows.size());
    return {rows.begin() + static_cast<std::ptrdiff_t>(handled), rows.end()};
}

std::string BatchRun::CurrentName() const {
    std::lock_guard lock(currentLock);
    return currentName;
}

std::string BatchRun::CurrentFolder() const {
    std::lock_guard lock(currentLock);
    return currentFolder;
}

void BatchRun::SetCurrent(std::string name, std::string folder) {
    std::lock_guard lock(currentLock);
    currentName = std::move(name);
    currentFolder = std::move(folder);
}

void BatchRun::ResetProgress() {
    currentRow = -1;
    lastProgress = 0;
    SetCurrent({}, {});
}

void BatchRun::HashOneFile(const std::string& path, FileEntry& entry) {
    entry = {};
    // An empty path (a command line can give one) leaves the shown name and folder as they were,
    // and fails to open.
    if (!path.empty()) {
        const std::size_t nameStart = NameStart(path);
        entry.path = path;
        entry.name = path.substr(nameStart);
        SetCurrent(entry.name, path.substr(0, nameStart));
    }
    errno = 0;
    if (!engine->Open(path, selection)) {
        entry.errorNumber = errno;
        entry.outcome = engine->NotRegular() ? FileOutcome::kNotRegular : FileOutcome::kNotOpened;
        return;
    }
    entry.size = engine->FileSize();
    entry.created = engine->CreatedText();
    entry.modified = engine->ModifiedText();
    ReadToEnd(entry);
    Post(UM_HASH_PROGRESS, 0, 0);
    engine->Close();
}

void BatchRun::ReadToEnd(FileEntry& entry) {
    lastProgress = 0;
    bool atEnd = false;
    int readError = 0;
    while (!atEnd) {
        float progress = 0;
        engine->ReadNext(progress, atEnd);
        readError = errno;
        if (Tenths(lastProgress) != Tenths(progress)) {
            lastProgress = progress;
            Post(UM_HASH_PROGRESS, 0, 0);
        }
        if (stopRequested) {
            entry.outcome = FileOutcome::kStopped;
            return;
        }
    }
    // Digests of the bytes before a failed read, or of a file that changed meanwhile, would look
    // complete: the file gets none.
    if (engine->ReadFailed()) {
        entry.outcome = FileOutcome::kReadFailed;
        entry.errorNumber = readError;
        return;
    }
    if (engine->Changed()) {
        entry.outcome = FileOutcome::kChanged;
        return;
    }
    entry.outcome = FileOutcome::kRead;
    entry.md5 = engine->DigestText(kCalgMd5, uppercase);
    entry.sha1 = engine->DigestText(kCalgSha1, uppercase);
    entry.crc32 = engine->CrcText(uppercase);
    entry.sha256 = engine->DigestText(kCalgSha256, uppercase);
}

}  // namespace rizo
