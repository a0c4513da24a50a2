// SPDX-License-Identifier: MIT
// The real window against the command line on the same folder: both hash its files with MD5, the
// window from the drop to the end of the batch, offscreen. Given a checksum file instead, both
// verify it (the command line from the file's folder, where the window takes relative names).
// Prints the best of a few runs of each, the longest the window's event loop went without turning
// (what a repaint would have waited) and when that stall ended, and the peak memory of the window's
// process. The processor time (user + system, all threads) of each side is printed too: on a
// machine shared with other work it compares more fairly than the wall time.
//   window_vs_cli_bench FOLDER|CHECKSUM-FILE [RUNS]   (RIZO_CLI overrides the rizodidiz-cli beside
//   this program)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "ui/main_frame.h"

namespace {

struct Run {
    double seconds = 0;
    double cpuSeconds = 0;
    double longestStallSeconds = 0;
    // When the longest stall ended, from the drop: it tells which part of the batch held the loop.
    double longestStallEndSeconds = 0;
};

double CpuSeconds(int who) {
    rusage usage{};
    ::getrusage(who, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Hashes `folder` in a fresh window; its own event loop runs meanwhile, as the program's would,
// sampled every 5 ms for turns and for the end of the batch.
Run RunWindow(const std::string& folder) {
    rizo::MainFrame frame;
    frame.show();
    QCoreApplication::processEvents();
    QEventLoop loop;
    QElapsedTimer clock;
    qint64 lastTurn = 0;
    qint64 longestStall = 0;
    qint64 longestStallEnd = 0;
    QTimer sampler;
    sampler.setInterval(5);
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (now - lastTurn > longestStall) {
            longestStall = now - lastTurn;
            longestStallEnd = now;
        }
        lastTurn = now;
        if (!frame.Busy()) {
            loop.quit();
        }
    });
    const double cpuBefore = CpuSeconds(RUSAGE_SELF);
    clock.start();
    sampler.start();
    frame.DropFiles({folder});
    loop.exec();
    Run run;
    run.seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    run.cpuSeconds = CpuSeconds(RUSAGE_SELF) - cpuBefore;
    run.longestStallSeconds = static_cast<double>(longestStall) / 1e9;
    run.longestStallEndSeconds = static_cast<double>(longestStallEnd) / 1e9;
    return run;
}

Run RunCli(const std::string& cli, const std::string& item) {
    const std::filesystem::path path(item);
    const std::string command = std::filesystem::is_directory(path)
                                    ? "'" + cli + "' -r --md5 '" + item + "' >/dev/null"
                                    : "cd '" + path.parent_path().native() + "' && '" + cli +
                                          "' -c '" + item + "' >/dev/null 2>&1";
    const double cpuBefore = CpuSeconds(RUSAGE_CHILDREN);
    const auto start = std::chrono::steady_clock::now();
    // A verification with failures exits with 1; anything else means the run did not happen.
    const int status = std::system(command.c_str());
    if (!WIFEXITED(status) || WEXITSTATUS(status) > 1) {
        std::fprintf(stderr, "window_vs_cli_bench: %s failed\n", command.c_str());
    }
    Run run;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.cpuSeconds = CpuSeconds(RUSAGE_CHILDREN) - cpuBefore;
    return run;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: window_vs_cli_bench FOLDER|CHECKSUM-FILE [RUNS]\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // A profile of its own, so the user's cfg.ini neither steers nor records the runs.
    const std::filesystem::path profile =
        std::filesystem::temp_directory_path() / ("rizo-bench-" + std::to_string(::getpid()));
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(profile.native()));
    const std::string folder = std::filesystem::absolute(argv[1]).lexically_normal().native();
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const char* cliOverride = std::getenv("RIZO_CLI");
    const std::string cli =
        cliOverride != nullptr
            ? cliOverride
            : (std::filesystem::canonical("/proc/self/exe").parent_path() / "rizodidiz-cli")
                  .native();
    QApplication app(argc, argv);
    Run best{1e9, 1e9, 0, 0};
    Run bestCli{1e9, 1e9, 0, 0};
    for (int i = 0; i < runs; ++i) {
        const Run run = RunWindow(folder);
        best.seconds = std::min(best.seconds, run.seconds);
        best.cpuSeconds = std::min(best.cpuSeconds, run.cpuSeconds);
        if (run.longestStallSeconds > best.longestStallSeconds) {
            best.longestStallSeconds = run.longestStallSeconds;
            best.longestStallEndSeconds = run.longestStallEndSeconds;
        }
        const Run cliRun = RunCli(cli, folder);
        bestCli.seconds = std::min(bestCli.seconds, cliRun.seconds);
        bestCli.cpuSeconds = std::min(bestCli.cpuSeconds, cliRun.cpuSeconds);
    }
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    std::filesystem::remove_all(profile);
    std::printf(
        "window %.3f s, cli %.3f s, ratio %.2f (target <= 1.3); processor time window %.3f s, "
        "cli %.3f s, ratio %.2f; longest event-loop stall %.3f s (target <= 0.1), ending %.3f s "
        "after the drop; window peak RSS %.0f MiB (target <= 250)\n",
        best.seconds, bestCli.seconds, best.seconds / bestCli.seconds, best.cpuSeconds,
        bestCli.cpuSeconds, best.cpuSeconds / bestCli.cpuSeconds, best.longestStallSeconds,
        best.longestStallEndSeconds, static_cast<double>(usage.ru_maxrss) / 1024.0);
    return 0;
}
