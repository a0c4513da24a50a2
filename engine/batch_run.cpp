// SPDX-License-Identifier: MIT
// One hashing batch on its worker thread.
#include "engine/batch_run.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <utility>

#include "engine/read_ahead.h"

namespace rizo {

namespace {

// The progress is reported at every new tenth of a percentage point, and not more often.
int Tenths(float percent) {
    return static_cast<int>(percent * 10.0f);
}

// Larger files are left to the batch's thread, whose lanes digest them on both cores; the files
// hashed ahead are those read ahead.
constexpr uint64_t kLargestAhead = ReadAhead::kLargest;

// Paths given on a command line may be relative: a name without a folder is still a name.
std::size_t NameStart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

}  // namespace

BatchRun::BatchRun(std::shared_ptr<DigestEngine> digestEngine,
                   std::shared_ptr<DigestEngine> helperEngine, MessagePoster& messagePoster,
                   std::vector<std::string> queuedPaths, std::vector<int32_t> queuedRows,
                   HashSelection hashes, bool uppercaseDigests)
    : engine(std::move(digestEngine)),
      aheadEngine(std::move(helperEngine)),
      poster(messagePoster),
      paths(std::move(queuedPaths)),
      rows(std::move(queuedRows)),
      selection(hashes),
      uppercase(uppercaseDigests),
      bytesAtStart(engine->BytesReadInTotal()),
      aheadBytesAtStart(aheadEngine != nullptr ? aheadEngine->BytesReadInTotal() : 0) {}

void BatchRun::Main() {
    engine->SetStopFlag(&stopRequested);
    ResetProgress();
    // Equal lengths are the window's promise; a path without a row has nowhere to show its result.
    const std::size_t count = std::min(paths.size(), rows.size());
    std::optional<HashAhead> ahead;
    if (aheadEngine != nullptr) {
        aheadEngine->SetStopFlag(&stopRequested);
        ahead.emplace(aheadEngine, count,
                      [this](DigestEngine& helper, std::size_t index, HashAhead::Result& result) {
                          return HashAheadOne(helper, index, result);
                      });
        ahead->Start();
    }
    // Files that are not in memory are read ahead even on one core: they wait on storage.
    std::optional<ReadAhead> readAhead;
    if (count >= kFilesWorthAHelper) {
        readAhead.emplace(paths, count);
        readAhead->Start();
    }
    for (std::size_t i = 0; i < count && BeginFile(i); ++i) {
        if (readAhead) {
            readAhead->Reached(i);
        }
        FileEntry entry;
        HashAhead::Result hashed;
        if (ahead && ahead->Take(i, *engine, hashed)) {
            ShowHashedAhead(hashed);
            entry = std::move(hashed.entry);
        } else {
            HashOneFile(paths[i], entry);
        }
        if (!FinishFile(std::move(entry)) || stopRequested) {
            break;
        }
    }
    readAhead.reset();
    ahead.reset();
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
        index = static_cast<int64_t>(ResultCount());
        results.push_back(std::move(entry));
    }
    poster.Post(UM_HASH_FILE_DONE, row, index);
}

std::size_t BatchRun::ResultCount() const {
    return resultsTaken + results.size();
}

std::optional<std::size_t> BatchRun::KeptAt(int64_t index) const {
    if (index < 0 || static_cast<uint64_t>(index) < resultsTaken ||
        static_cast<uint64_t>(index) >= ResultCount()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(index) - resultsTaken;
}

FileEntry BatchRun::Result(int64_t index) const {
    std::lock_guard lock(resultsLock);
    const std::optional<std::size_t> at = KeptAt(index);
    return at ? results[*at] : FileEntry{};
}

FileEntry BatchRun::TakeResult(int64_t index) {
    std::lock_guard lock(resultsLock);
    const std::optional<std::size_t> at = KeptAt(index);
    if (!at) {
        return {};
    }
    FileEntry taken = std::move(results[*at]);
    // Results are taken in order: the oldest goes, and its memory serves a later result.
    if (*at == 0) {
        results.pop_front();
        ++resultsTaken;
    }
    return taken;
}

BatchCounts BatchRun::Counts() const {
    BatchCounts counts;
    {
        std::lock_guard lock(resultsLock);
        counts.filesDone = ResultCount();
    }
    counts.filesTotal = std::min(paths.size(), rows.size());
    counts.bytesDone = engine->BytesReadInTotal() - bytesAtStart;
    if (aheadEngine != nullptr) {
        counts.bytesDone += aheadEngine->BytesReadInTotal() - aheadBytesAtStart;
    }
    return counts;
}

std::vector<int32_t> BatchRun::RowsNotReached() const {
    std::lock_guard lock(resultsLock);
    const std::size_t handled = std::min(ResultCount(), rows.size());
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

void BatchRun::StartEntry(const std::string& path, FileEntry& entry) {
    entry = {};
    if (!path.empty()) {
        const std::size_t nameStart = NameStart(path);
        entry.path = path;
        entry.name = path.substr(nameStart);
    }
}

bool BatchRun::OpenFile(DigestEngine& reader, const std::string& path, FileEntry& entry) {
    errno = 0;
    if (!reader.Open(path, selection)) {
        entry.errorNumber = errno;
        entry.outcome = reader.NotRegular() ? FileOutcome::kNotRegular : FileOutcome::kNotOpened;
        return false;
    }
    entry.size = reader.FileSize();
    entry.created = reader.CreatedText();
    entry.modified = reader.ModifiedText();
    return true;
}

void BatchRun::HashOneFile(const std::string& path, FileEntry& entry) {
    StartEntry(path, entry);
    // The empty path queued for a row that never had a result leaves the shown name and folder as
    // they were, and fails to open.
    if (!path.empty()) {
        SetCurrent(entry.name, path.substr(0, NameStart(path)));
    }
    if (!OpenFile(*engine, path, entry)) {
        return;
    }
    lastProgress = 0;
    ReadToEnd(*engine, entry, [this](float progress) {
        lastProgress = progress;
        Post(UM_HASH_PROGRESS, 0, 0);
    });
    Post(UM_HASH_PROGRESS, 0, 0);
    engine->Close();
}

bool BatchRun::HashAheadOne(DigestEngine& helper, std::size_t index, HashAhead::Result& result) {
    const std::string& path = paths[index];
    // Standard input is read once, by the batch's thread; the empty path changes what is shown.
    if (path.empty() || helper.NamesStandardInput(path)) {
        return false;
    }
    StartEntry(path, result.entry);
    result.opened = OpenFile(helper, path, result.entry);
    if (!result.opened) {
        return true;
    }
    if (result.entry.size > kLargestAhead) {
        helper.Close();
        return false;
    }
    ReadToEnd(helper, result.entry,
              [&result](float progress) { result.steps.push_back(progress); });
    helper.Close();
    return true;
}

void BatchRun::ShowHashedAhead(HashAhead::Result& result) {
    // The messages and fields the batch's thread would have posted and set reading the file.
    FileEntry& entry = result.entry;
    SetCurrent(entry.name, entry.path.substr(0, NameStart(entry.path)));
    if (!result.opened) {
        return;
    }
    lastProgress = 0;
    for (const float progress : result.steps) {
        lastProgress = progress;
        Post(UM_HASH_PROGRESS, 0, 0);
        if (stopRequested) {
            // As if the read had been cut short here: the facts stay, the digests go.
            entry.md5 = entry.sha1 = entry.crc32 = entry.sha256 = {};
            entry.outcome = FileOutcome::kStopped;
            entry.errorNumber = 0;
            break;
        }
    }
    Post(UM_HASH_PROGRESS, 0, 0);
}

void BatchRun::ReadToEnd(DigestEngine& reader, FileEntry& entry, const StepReport& report) {
    float last = 0;
    bool atEnd = false;
    int readError = 0;
    while (!atEnd) {
        float progress = 0;
        reader.ReadNext(progress, atEnd);
        readError = errno;
        if (Tenths(last) != Tenths(progress)) {
            last = progress;
            report(progress);
        }
        if (stopRequested) {
            entry.outcome = FileOutcome::kStopped;
            return;
        }
    }
    // Digests of the bytes before a failed read, or of a file that changed meanwhile, would look
    // complete: the file gets none.
    if (reader.ReadFailed()) {
        entry.outcome = FileOutcome::kReadFailed;
        entry.errorNumber = readError;
        return;
    }
    if (reader.Changed()) {
        entry.outcome = FileOutcome::kChanged;
        return;
    }
    entry.outcome = FileOutcome::kRead;
    entry.md5 = reader.DigestText(kCalgMd5, uppercase);
    entry.sha1 = reader.DigestText(kCalgSha1, uppercase);
    entry.crc32 = reader.CrcText(uppercase);
    entry.sha256 = reader.DigestText(kCalgSha256, uppercase);
}

}  // namespace rizo
