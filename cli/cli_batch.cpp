// Hashing the command line's files through the batch worker, as the window does.
#include "cli/cli_batch.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <iostream>

#include "cli/message_queue.h"
#include "cli/progress_line.h"
#include "engine/batch_worker.h"
#include "engine/digest_engine.h"

namespace rizo {

namespace {

constexpr char kProgram[] = "rizodidiz-cli";

// 0 when standard error is no terminal.
std::size_t TerminalColumns() {
    if (::isatty(STDERR_FILENO) == 0) {
        return 0;
    }
    winsize size{};
    return ::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 ? size.ws_col : 80;
}

// The window's part in a batch, reduced to what a terminal shows: the progress line.
class ProgressHost : public BatchHost {
public:
    explicit ProgressHost(ProgressLine* progressLine) : line(progressLine) {}

    void SetSortable(bool) override {}
    void RefreshCommandStates() override {}
    void MarkDuplicates() override {}
    void ShowProgress() override {
        if (line != nullptr) {
            line->Show(ProgressText(worker->LastProgress(),
                                    worker->CurrentFolder() + worker->CurrentName()));
        }
    }
    // A terminal's bell is no way to say that a command has finished.
    void Beep() override {}

    const BatchWorker* worker = nullptr;

private:
    ProgressLine* line;
};

// The message loop of the main thread.
bool RunBatch(BatchWorker& worker, MessageQueue& queue, ProgressHost& host, ProgressLine& line,
              const std::vector<std::string>& files, const ResultHandler& onResult) {
    worker.PendingPaths = files;
    for (std::size_t row = 0; row < files.size(); ++row) {
        worker.PendingRows.push_back(static_cast<int32_t>(row));
    }
    if (!worker.StartWorker()) {
        std::cerr << kProgram << ": the hashing thread cannot be started\n";
        return false;
    }
    bool complete = true;
    for (;;) {
        const QueuedMessage next = queue.Take();
        if (next.message == UM_HASH_PROGRESS) {
            host.ShowProgress();
        } else if (next.message == UM_HASH_FILE_DONE) {
            line.Clear();
            const FileEntry entry = worker.Result(next.lParam);
            complete = onResult(static_cast<std::size_t>(next.wParam), entry) && complete;
        } else if (next.message == UM_HASH_BATCH_DONE) {
            worker.FinishBatch();
            return complete;
        }
    }
}

}  // namespace

bool HashFiles(const std::vector<std::string>& files, const ProgramSettings& settings,
               bool progress, const ResultHandler& onResult) {
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
    BatchWorker worker(makeEngine, settings, queue, host);
    if (!serviceReady) {
        std::cerr << kProgram << ": no digest service available\n";
        return false;
    }
    host.worker = &worker;
    return RunBatch(worker, queue, host, line, files, onResult);
}

}  // namespace rizo
