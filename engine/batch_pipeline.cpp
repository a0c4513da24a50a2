// SPDX-License-Identifier: MIT
// A hashing batch as one pipeline: workers, the window of results, delivery in order.
#include "engine/batch_pipeline.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <system_error>
#include <utility>

#include "engine/read_ahead.h"

namespace rizo {

namespace {

// The progress is reported at every new tenth of a percentage point, and not more often.
int Tenths(float percent) {
    return static_cast<int>(percent * 10.0f);
}

FileEntry EntryFor(const std::string& path) {
    FileEntry entry;
    entry.path = path;
    entry.name = path.substr(NameStart(path));
    return entry;
}

}  // namespace

BatchPipeline::Source BatchPipeline::SourceOf(std::vector<std::string> paths) {
    return [list = std::move(paths), next = std::size_t{0}](std::string& path) mutable {
        if (next == list.size()) {
            return false;
        }
        path = list[next++];
        return true;
    };
}

BatchPipeline::BatchPipeline(std::vector<std::shared_ptr<DigestEngine>> workerEngines,
                             Source pathSource, BatchOptions batchOptions,
                             std::unique_ptr<BatchSink> batchSink)
    : engines(std::move(workerEngines)),
      source(std::move(pathSource)),
      options(batchOptions),
      sink(std::move(batchSink)),
      ring(kWindow) {
    for (const auto& engine : engines) {
        bytesAtStart.push_back(engine->BytesReadInTotal());
    }
}

// Runs where the last holder lets go, which may be a worker at its end: a thread is never joined
// from itself.
BatchPipeline::~BatchPipeline() {
    Detach();
}

bool BatchPipeline::Start() {
    for (const auto& engine : engines) {
        engine->SetStopFlag(&stopRequested);
        engine->SetTimeTexts(options.fileTimes);
        engine->SetByteLimit(options.byteLimit);
    }
    bool worthReadingAhead = false;
    {
        std::lock_guard guard(lock);
        worthReadingAhead = PathAt(kFilesWorthReadingAhead - 1) != nullptr;
    }
    // Files that are not in memory are read ahead even on one core: they wait on storage. The
    // readers look paths up under the pipeline's lock, so they start before anyone holds it.
    if (worthReadingAhead) {
        readAhead = std::make_unique<ReadAhead>([this](std::size_t index, std::string& path) {
            std::lock_guard guard(lock);
            const std::string* found = PathAt(index);
            if (found != nullptr) {
                path = *found;
            }
            return found != nullptr;
        });
        readAhead->Start();
    }
    Guard guard(lock);
    onFile.assign(engines.size(), kIdle);
    for (std::size_t worker = 0; worker < engines.size(); ++worker) {
        try {
            threads.emplace_back([self = shared_from_this(), worker] { self->Work(worker); });
            ++working;
        } catch (const std::system_error&) {
            break;
        }
    }
    return working > 0;
}

void BatchPipeline::Work(std::size_t worker) {
    DigestEngine& reader = *engines[worker];
    Guard guard(lock);
    std::size_t index = 0;
    std::string path;
    while (Claim(guard, index, path)) {
        onFile[worker] = index;
        guard.unlock();
        if (readAhead) {
            readAhead->Reached(index);
        }
        FileEntry entry = EntryFor(path);
        HashFile(reader, index, path, entry);
        guard.lock();
        Slot& slot = SlotOf(index);
        slot.entry = std::move(entry);
        slot.state = SlotState::kDone;
        onFile[worker] = kIdle;
        fileEnded.notify_all();
        Deliver();
    }
    reader.SetStopFlag(nullptr);
    if (--working > 0) {
        return;
    }
    // The last worker out ends the readers ahead, then the batch.
    guard.unlock();
    readAhead.reset();
    guard.lock();
    if (!abandoned) {
        closed = ended = true;
        sink->End();
    }
    endSignal.notify_all();
}

bool BatchPipeline::Claim(Guard& guard, std::size_t& index, std::string& path) {
    roomMade.wait(guard,
                  [this] { return closed || stopRequested || nextClaim < nextDeliver + kWindow; });
    // A stop still lets the next file to deliver begin, and cut short, as a stop before a batch
    // ends it at its first file: the sink always learns where the batch stopped.
    const std::string* next = PathAt(nextClaim);
    if (closed || next == nullptr || (stopRequested && nextClaim != nextDeliver)) {
        return false;
    }
    path = *next;
    index = nextClaim++;
    Slot& slot = SlotOf(index);
    slot.state = SlotState::kReading;
    slot.steps.clear();
    if (index == nextDeliver) {
        BeginNext();
    }
    return true;
}

const std::string* BatchPipeline::PathAt(std::size_t index) {
    while (!sourceEnded && firstQueued + queued.size() <= index) {
        std::string path;
        if (source(path)) {
            queued.push_back(std::move(path));
        } else {
            sourceEnded = true;
        }
    }
    if (index < firstQueued || index >= firstQueued + queued.size()) {
        return nullptr;
    }
    return &queued[index - firstQueued];
}

void BatchPipeline::HashFile(DigestEngine& reader, std::size_t index, const std::string& path,
                             FileEntry& entry) {
    if (!OpenFile(reader, index, path, entry)) {
        return;
    }
    const bool alone = TakeTurnAlone(reader, index);
    ReadToEnd(reader, index, entry);
    reader.Close();
    if (alone) {
        EndTurnAlone();
    }
}

// Files read alone are read in queue order, which on a spinning disk is mostly the order in which
// they lie: a file waits until the files before it are done, whoever reads them. A small file
// takes one read, from memory when the readers ahead have brought it in, in their own order; only
// a file that streams from storage for a while is read alone.
bool BatchPipeline::TakeTurnAlone(const DigestEngine& reader, std::size_t index) {
    if (engines.size() == 1 || reader.FileSize() <= ReadAhead::kLargest ||
        storage.ParallelReads(reader.Descriptor(), reader.Device())) {
        return false;
    }
    Guard guard(lock);
    fileEnded.wait(guard, [this, index] {
        return closed || stopRequested ||
               (!readingAlone && std::all_of(onFile.begin(), onFile.end(), [index](std::size_t on) {
                   return on >= index || on == kIdle;
               }));
    });
    readingAlone = true;
    return true;
}

void BatchPipeline::EndTurnAlone() {
    std::lock_guard guard(lock);
    readingAlone = false;
    fileEnded.notify_all();
}

bool BatchPipeline::OpenFile(DigestEngine& reader, std::size_t index, const std::string& path,
                             FileEntry& entry) {
    errno = 0;
    // A file read ahead is open already: it is taken over, not opened and examined again.
    const std::optional<ReadAhead::Opened> opened =
        readAhead ? readAhead->Take(index) : std::nullopt;
    if (!(opened ? reader.Adopt(opened->fd, opened->info, options.hashes)
                 : reader.Open(path, options.hashes))) {
        entry.errorNumber = errno;
        entry.outcome = reader.NotRegular() ? FileOutcome::kNotRegular : FileOutcome::kNotOpened;
        return false;
    }
    entry.size = reader.FileSize();
    entry.created = reader.CreatedText();
    entry.modified = reader.ModifiedText();
    return true;
}

void BatchPipeline::ReadToEnd(DigestEngine& reader, std::size_t index, FileEntry& entry) {
    float last = 0;
    bool atEnd = false;
    int readError = 0;
    while (!atEnd) {
        float progress = 0;
        reader.ReadNext(progress, atEnd);
        readError = errno;
        if (Tenths(last) != Tenths(progress)) {
            last = progress;
            Step(index, progress);
        }
        if (stopRequested) {
            entry.outcome = FileOutcome::kStopped;
            Step(index, last);
            return;
        }
    }
    // The file's last report, whatever its end.
    Step(index, last);
    // Digests of the bytes before a failed read, or of a file that changed meanwhile, would look
    // complete: the file gets none.
    if (reader.ReadFailed()) {
        entry.outcome = FileOutcome::kReadFailed;
        entry.errorNumber = readError;
        return;
    }
    if (reader.ShortOfLimit()) {
        entry.outcome = FileOutcome::kShort;
        return;
    }
    if (reader.Changed()) {
        entry.outcome = FileOutcome::kChanged;
        return;
    }
    entry.outcome = FileOutcome::kRead;
    reader.TakeDigestTexts(entry, options.uppercase);
}

void BatchPipeline::Step(std::size_t index, float percent) {
    std::lock_guard guard(lock);
    Slot& slot = SlotOf(index);
    // The next file to deliver has had its Begin since it was claimed.
    if (index != nextDeliver) {
        slot.steps.push_back(percent);
    } else if (!closed && !slot.cutShort) {
        sink->Progress(percent);
    }
}

void BatchPipeline::Deliver() {
    while (!closed && nextDeliver < nextClaim) {
        Slot& slot = SlotOf(nextDeliver);
        if (slot.state != SlotState::kDone) {
            return;
        }
        if (slot.cutShort && slot.entry.outcome == FileOutcome::kRead) {
            // As if the read had been cut short where the stop came: the facts stay.
            ClearDigests(slot.entry);
            slot.entry.outcome = FileOutcome::kStopped;
        }
        sink->Done(nextDeliver, std::move(slot.entry));
        slot = {};
        ++nextDeliver;
        // The readers ahead never look behind the workers, who have all passed it.
        queued.pop_front();
        ++firstQueued;
        roomMade.notify_all();
        // A stop keeps the results ahead from the sink: the file it cut short is the last.
        if (stopRequested) {
            closed = true;
            return;
        }
        if (nextDeliver < nextClaim) {
            BeginNext();
        }
    }
}

void BatchPipeline::BeginNext() {
    Slot& slot = SlotOf(nextDeliver);
    sink->Begin(nextDeliver, *PathAt(nextDeliver));
    // Steps of a file read ahead are shown now, as they would have been while it was read; a stop
    // meanwhile ends them as it would have ended the read, with the last step shown once more.
    for (const float step : slot.steps) {
        sink->Progress(step);
        if (stopRequested) {
            sink->Progress(step);
            slot.cutShort = true;
            break;
        }
    }
    slot.steps.clear();
}

bool BatchPipeline::WaitForEnd(std::chrono::milliseconds limit) {
    Guard guard(lock);
    return endSignal.wait_for(guard, limit, [this] { return ended; });
}

void BatchPipeline::Abandon(bool announce) {
    std::lock_guard guard(lock);
    if (ended) {
        return;
    }
    if (announce && !closed && nextDeliver < nextClaim) {
        FileEntry entry = EntryFor(*PathAt(nextDeliver));
        entry.outcome = FileOutcome::kNotFinished;
        sink->Done(nextDeliver, std::move(entry));
    }
    if (announce) {
        sink->End();
    }
    closed = abandoned = ended = true;
    roomMade.notify_all();
    fileEnded.notify_all();
    endSignal.notify_all();
}

bool BatchPipeline::StopWithin(std::chrono::milliseconds limit, bool announce) {
    RequestStop();
    if (Join(limit)) {
        return true;
    }
    Abandon(announce);
    return false;
}

bool BatchPipeline::Join(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    {
        Guard guard(lock);
        if (!endSignal.wait_until(guard, deadline, [this] { return working == 0; })) {
            return false;
        }
    }
    for (std::thread& thread : threads) {
        if (thread.joinable()) {
            thread.join();
        }
    }
    return true;
}

void BatchPipeline::Detach() {
    for (std::thread& thread : threads) {
        if (thread.joinable()) {
            thread.detach();
        }
    }
}

uint64_t BatchPipeline::BytesRead() const {
    uint64_t bytes = 0;
    for (std::size_t i = 0; i < engines.size(); ++i) {
        bytes += engines[i]->BytesReadInTotal() - bytesAtStart[i];
    }
    return bytes;
}

}  // namespace rizo
