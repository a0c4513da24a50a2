// SPDX-License-Identifier: MIT
// The end of a batch's pipeline that a message loop reads.
#include "engine/message_sink.h"

#include <algorithm>
#include <utility>

namespace rizo {

MessageSink::MessageSink(MessagePoster& messagePoster, std::vector<int32_t> queuedRows)
    : poster(messagePoster), rows(std::move(queuedRows)) {}

void MessageSink::Begin(std::size_t index, const std::string& path) {
    currentRow = RowOf(index);
    lastProgress = 0;
    // The empty path queued for a row that never had a result leaves the shown name and folder
    // as they were.
    if (!path.empty()) {
        const std::size_t nameStart = NameStart(path);
        SetCurrent(path.substr(nameStart), path.substr(0, nameStart));
    }
}

void MessageSink::Progress(float percent) {
    lastProgress = percent;
    poster.Post(UM_HASH_PROGRESS, 0, 0);
}

void MessageSink::Done(std::size_t index, FileEntry entry) {
    int64_t resultIndex = 0;
    {
        std::lock_guard lock(resultsLock);
        resultIndex = static_cast<int64_t>(ResultCount());
        results.push_back(std::move(entry));
    }
    poster.Post(UM_HASH_FILE_DONE, RowOf(index), resultIndex);
}

int32_t MessageSink::RowOf(std::size_t index) const {
    return rows.empty() ? static_cast<int32_t>(index) : rows[index];
}

void MessageSink::End() {
    ResetProgress();
    poster.Post(UM_HASH_BATCH_DONE, 0, 0);
}

std::size_t MessageSink::ResultCount() const {
    return resultsTaken + results.size();
}

std::optional<std::size_t> MessageSink::KeptAt(int64_t index) const {
    if (index < 0 || static_cast<uint64_t>(index) < resultsTaken ||
        static_cast<uint64_t>(index) >= ResultCount()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(index) - resultsTaken;
}

FileEntry MessageSink::Result(int64_t index) const {
    std::lock_guard lock(resultsLock);
    const std::optional<std::size_t> at = KeptAt(index);
    return at ? results[*at] : FileEntry{};
}

FileEntry MessageSink::TakeResult(int64_t index) {
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

uint64_t MessageSink::FilesDone() const {
    std::lock_guard lock(resultsLock);
    return ResultCount();
}

std::vector<int32_t> MessageSink::RowsNotReached() const {
    std::lock_guard lock(resultsLock);
    const std::size_t handled = std::min(ResultCount(), rows.size());
    return {rows.begin() + static_cast<std::ptrdiff_t>(handled), rows.end()};
}

std::string MessageSink::CurrentName() const {
    std::lock_guard lock(currentLock);
    return currentName;
}

std::string MessageSink::CurrentFolder() const {
    std::lock_guard lock(currentLock);
    return currentFolder;
}

void MessageSink::SetCurrent(std::string name, std::string folder) {
    std::lock_guard lock(currentLock);
    currentName = std::move(name);
    currentFolder = std::move(folder);
}

void MessageSink::ResetProgress() {
    currentRow = -1;
    lastProgress = 0;
    SetCurrent({}, {});
}

}  // namespace rizo
