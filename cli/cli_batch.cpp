// SPDX-License-Identifier: MIT
// Hashing the command line's files through the batch worker, as the window does.
#include "cli/cli_batch.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <iostream>
#include <limits>
#include <optional>

#include "cli/progress_line.h"
#include "engine/batch_pipeline.h"
#include "engine/batch_progress.h"
#include "engine/digest_engine.h"
#include "engine/engine_set.h"
#include "engine/message_queue.h"
#include "engine/message_sink.h"
#include "engine/size_pass.h"

namespace rizo {

namespace {

constexpr char kProgram[] = "rizodidiz-cli";

// How long the message loop waits for a worker after a stop signal before it stops the batch
// itself; with BatchPipeline::kStopWait this bounds the time from the signal to the end.
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
std::atomic<BatchPipeline*> interruptible = nullptr;
volatile std::sig_atomic_t caughtSignal = 0;
static_assert(std::atomic<BatchPipeline*>::is_always_lock_free);

extern "C" void OnStopSignal(int signal) {
    caughtSignal = signal;
    if (BatchPipeline* pipeline = interruptible.load()) {
        pipeline->RequestStop();
    }
}

// SIGINT and SIGTERM stop `pipeline` while this exists; a second one acts as if none were caught.
// A signal ignored when the program started (a background job of a script, nohup) stays ignored.
class StopSignals {
public:
    explicit StopSignals(BatchPipeline& pipeline) {
        interruptible = &pipeline;
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

// What a terminal shows of a batch: "37% · 12 of 345 files · 310 MB/s · 0:42 left · dir/file".
class ProgressShown {
public:
    // Sums the sizes of `files` meanwhile on `helper`, the batch's lane helper, no more than
    // `byteLimit` of each; the files must stay as they are while this lives.
    ProgressShown(ProgressLine& progressLine, const BatchPipeline& batch, const MessageSink& shown,
                  const std::vector<std::string>& files, std::shared_ptr<LaneWorkers> helper,
                  uint64_t byteLimit)
        : line(progressLine), pipeline(batch), sink(shown), fileCount(files.size()) {
        progress.Start(ProgressLine::Clock::now());
        sizes.Start(files, std::move(helper), byteLimit);
    }
    void Show() {
        const std::string path = sink.CurrentFolder() + sink.CurrentName();
        const ProgressLine::Clock::time_point now = ProgressLine::Clock::now();
        // An empty path: the batch's end came while the message waited, and the line is cleared
        // next.
        if (path.empty() || !line.DueAt(now)) {
            return;
        }
        BatchCounts counts{sink.FilesDone(), fileCount, pipeline.BytesRead(), sizes.Bytes(),
                           sizes.Known()};
        line.Show(BatchProgressText(progress.Sample(now, counts)) + " \u00B7 " + path);
    }

private:
    ProgressLine& line;
    const BatchPipeline& pipeline;
    const MessageSink& sink;
    const std::size_t fileCount;
    BatchProgress progress;
    SizePass sizes;
};

// The message loop of the main thread, until the batch's end.
int RunBatch(BatchPipeline& pipeline, MessageQueue& queue, MessageSink& sink, ProgressShown* shown,
             ProgressLine& line, const ResultHandler& onResult) {
    bool complete = true;
    for (;;) {
        const std::optional<QueuedMessage> next = queue.Take(kQuietAfterSignal);
        if (!next) {
            // A stopped worker that stays quiet is blocked in a read that may never return (a
            // hung network share, a FUSE file system): it is given up on as the window does.
            if (caughtSignal != 0 && !pipeline.StopWithin(BatchPipeline::kStopWait, false)) {
                return 0;
            }
            continue;
        }
        if (next->message == UM_HASH_PROGRESS && shown != nullptr) {
            shown->Show();
        } else if (next->message == UM_HASH_FILE_DONE) {
            const FileEntry entry = sink.TakeResult(next->lParam);
            // A file cut short by a stop has nothing to show.
            if (entry.outcome != FileOutcome::kStopped &&
                entry.outcome != FileOutcome::kNotFinished) {
                line.Clear();
                complete = onResult(static_cast<std::size_t>(next->wParam), entry) && complete;
            }
        } else if (next->message == UM_HASH_BATCH_DONE) {
            line.Clear();
            return complete ? 0 : 1;
        }
    }
}

// The engines of the process's batches, kept from one to the next.
EngineSet& Engines() {
    static EngineSet engines([]() -> std::unique_ptr<DigestEngine> {
        auto engine = std::make_unique<DigestEngine>();
        engine->SetStandardInputName(kStandardInputName);
        if (!engine->AcquireProvider(OsClass() <= 1, false)) {
            return nullptr;
        }
        return engine;
    });
    return engines;
}

// `count` files come from `source`; with `shownFiles`, the same files, whose progress is shown.
int Hash(BatchPipeline::Source source, std::size_t count,
         const std::vector<std::string>* shownFiles, const BatchOptions& options,
         const ResultHandler& onResult) {
    if (caughtSignal != 0) {
        return 128 + caughtSignal;
    }
    std::vector<std::shared_ptr<DigestEngine>> engines = Engines().For(count);
    if (engines.empty()) {
        std::cerr << kProgram << ": no digest service available\n";
        return 1;
    }
    MessageQueue queue;
    auto messages = std::make_unique<MessageSink>(queue, std::vector<int32_t>{});
    MessageSink& sink = *messages;
    const auto pipeline = std::make_shared<BatchPipeline>(std::move(engines), std::move(source),
                                                          options, std::move(messages));
    ProgressLine line(std::cerr, TerminalColumns());
    std::optional<ProgressShown> shown;
    if (shownFiles != nullptr) {
        shown.emplace(line, *pipeline, sink, *shownFiles, Engines().Helper(), options.byteLimit);
    }
    int status = 0;
    {
        const StopSignals stopSignals(*pipeline);
        if (!pipeline->Start()) {
            std::cerr << kProgram << ": the hashing thread cannot be started\n";
            return 1;
        }
        status = RunBatch(*pipeline, queue, sink, shown ? &*shown : nullptr, line, onResult);
    }
    // Workers left blocked in a read end alone, or with the process.
    if (!pipeline->Join(std::chrono::milliseconds(0))) {
        pipeline->Detach();
        Engines().Drop();
    }
    return caughtSignal != 0 ? 128 + caughtSignal : status;
}

}  // namespace

int CaughtStopSignal() {
    return caughtSignal;
}

int HashFiles(const std::vector<std::string>& files, const BatchOptions& options, bool progress,
              const ResultHandler& onResult) {
    return Hash(BatchPipeline::SourceOf(files), files.size(), progress ? &files : nullptr, options,
                onResult);
}

int HashPaths(const PathSource& next, const BatchOptions& options, const ResultHandler& onResult) {
    return Hash(next, std::numeric_limits<std::size_t>::max(), nullptr, options, onResult);
}

}  // namespace rizo
