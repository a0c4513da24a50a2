// SPDX-License-Identifier: MIT
// Hashing the command line's files through the batch worker, as the window does.
#include "cli/cli_batch.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <iostream>
#include <optional>

#include "cli/message_queue.h"
#include "cli/progress_line.h"
#include "engine/batch_worker.h"
#include "engine/digest_engine.h"

namespace rizo {

namespace {

constexpr char kProgram[] = "rizodidiz-cli";

// How long the message loop waits for a worker after a stop signal before it stops the batch
// itself; with BatchWorker::kStopWait this bounds the time from the signal to the end.
constexpr std::chrono::milliseconds kQuietAfterSignal{100};

// 0 when standard error is no terminal.
std::size_t TerminalColumns() {
    if (::isatty(STDERR_FILENO) == 0) {
        return 0;
    }
    winsize size{};
    return ::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 ? size.ws_col : 80;
}

// The batch that a stop signal ends, and the signal caught.
std::atomic<BatchWorker*> interruptible = nullptr;
volatile std::sig_atomic_t caughtSignal = 0;
static_assert(std::atomic<BatchWorker*>::is_always_lock_free);

extern "C" void OnStopSignal(int signal) {
    caughtSignal = signal;
    if (BatchWorker* worker = interruptible.load()) {
        worker->RequestStop();
    }
}

// SIGINT and SIGTERM stop `worker` while this exists; a second one acts as if none were caught.
// A signal ignored when the program started (a background job of a script, nohup) stays ignored.
class StopSignals {
public:
    explicit StopSignals(BatchWorker& worker) {
        interruptible = &worker;
        Catch(SIGINT, oldInterrupt);
        Catch(SIGTERM, oldTerminate);
    }
    ~StopSignals() {
        ::sigaction(SIGINT, &oldInterrupt, nullptr);
        ::sigaction(SIGTERM, &oldTerminate, nullptr);
        interruptible = nullptr;
    }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

private:
    static void Catch(int signal, struct sigaction& old) {
        ::sigaction(signal, nullptr, &old);
        if (old.sa_handler == SIG_IGN) {
            return;
        }
        struct sigaction action {};
        action.sa_handler = OnStopSignal;
        action.sa_flags = SA_RESETHAND;
        sigemptyset(&action.sa_mask);
        ::sigaction(signal, &action, nullptr);
    }

    struct sigaction oldInterrupt {};
    struct sigaction oldTerminate {};
};

// The window's part in a batch, reduced to what a terminal shows: the progress line.
class ProgressHost : public BatchHost {
public:
    explicit ProgressHost(ProgressLine* progressLine) : line(progressLine) {}

    void SetSortable(bool) override {}
    void RefreshCommandStates() override {}
    void MarkDuplicates() override {}
    void BatchStarted() override { progress.Start(ProgressLine::Clock::now()); }
    // "37% · 12 of 345 files · 310 MB/s · 0:42 left · dir/file", the line cleared at the end.
    void ShowProgress() override {
        if (line == nullptr) {
            return;
        }
        const ProgressLine::Clock::time_point now = ProgressLine::Clock::now();
        if (!worker->Busy()) {
            line->Clear();
            return;
        }
        if (!line->DueAt(now)) {
            return;
        }
        std::string text = BatchProgressText(progress.Sample(now, worker->Counts()));
        const std::string path = worker->CurrentFolder() + worker->CurrentName();
        if (!path.empty()) {
            text += " \u00B7 " + path;
        }
        line->Show(text);
    }
    // A terminal's bell is no way to say that a command has finished.
    void Beep() override {}

    const BatchWorker* worker = nullptr;

private:
    ProgressLine* line;
    BatchProgress progress;
};

// The message loop of the main thread.
int RunBatch(BatchWorker& worker, const BatchOptions& options, MessageQueue& queue,
             ProgressHost& host, ProgressLine& line, const std::vector<std::string>& files,
             const ResultHandler& onResult) {
    worker.PendingPaths = files;
    for (std::size_t row = 0; row < files.size(); ++row) {
        worker.PendingRows.push_back(static_cast<int32_t>(row));
    }
    const StopSignals stopSignals(worker);
    if (caughtSignal == 0 && !worker.StartWorker(options)) {
        std::cerr << kProgram << ": the hashing thread cannot be started\n";
        return 1;
    }
    bool complete = true;
    while (worker.Busy()) {
        const std::optional<QueuedMessage> next = queue.Take(kQuietAfterSignal);
        if (!next) {
            // A stopped worker that stays quiet is blocked in a read that may never return (a
            // hung network share, a FUSE file system): Stop gives up on it as the window does.
            if (caughtSignal != 0) {
                worker.StopHashing();
            }
            continue;
        }
        if (next->message == UM_HASH_PROGRESS) {
            host.ShowProgress();
        } else if (next->message == UM_HASH_FILE_DONE) {
            const FileEntry entry = worker.Result(next->lParam);
            // A file cut short by a stop has nothing to show.
            if (entry.outcome != FileOutcome::kStopped &&
                entry.outcome != FileOutcome::kNotFinished) {
                line.Clear();
                complete = onResult(static_cast<std::size_t>(next->wParam), entry) && complete;
            }
        } else if (next->message == UM_HASH_BATCH_DONE) {
            worker.FinishBatch();
        }
    }
    return caughtSignal != 0 ? 128 + caughtSignal : complete ? 0 : 1;
}

}  // namespace

int CaughtStopSignal() {
    return caughtSignal;
}

int HashFiles(const std::vector<std::string>& files, const BatchOptions& options, bool progress,
              const ResultHandler& onResult) {
    bool serviceReady = false;
    const auto makeEngine = [&serviceReady] {
        auto engine = std::make_unique<DigestEngine>();
        engine->SetStandardInputName(kStandardInputName);
        serviceReady = engine->AcquireProvider(OsClass() <= 1, false);
        return engine;
    };
    MessageQueue queue;
    ProgressLine line(std::cerr, TerminalColumns());
    ProgressHost host(progress ? &line : nullptr);
    BatchWorker worker(makeEngine, queue, host);
    if (!serviceReady) {
        std::cerr << kProgram << ": no digest service available\n";
        return 1;
    }
    worker.SumSizesAhead(progress);
    host.worker = &worker;
    return RunBatch(worker, options, queue, host, line, files, onResult);
}

}  // namespace rizo
