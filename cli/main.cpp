// SPDX-License-Identifier: MIT
// rizodidiz-cli: prints the digests of files, hashed by the same batch worker as the program.
#include <algorithm>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "base/file_entry.h"
#include "cli/cli_batch.h"
#include "cli/cli_options.h"
#include "cli/command_paths.h"
#include "cli/digest_lines.h"
#include "cli/file_report.h"
#include "cli/record_rows.h"
#include "filelist/file_table.h"
#include "settings/settings_store.h"

namespace {

constexpr const char* kProgram = rizo::kProgramName;

// Without --progress the files are hashed and printed in consecutive runs of this many, so a
// folder of a million files is never held whole; the whole-run figures of --progress need them all.
constexpr std::size_t kFilesPerRun = 4096;

// Hands the files to hash to `take`; each folder that -r cannot list is named and makes `status`
// 1.
void ForEachCommandFile(const rizo::CliOptions& options, int& status, const rizo::PathTaker& take) {
    for (const std::string& argument : options.files) {
        std::vector<rizo::ScanFailure> failures;
        rizo::ForEachCommandPath(argument, options.recursive, take, failures);
        if (!failures.empty()) {
            std::cout.flush();
        }
        for (const rizo::ScanFailure& failure : failures) {
            std::cerr << kProgram << ": " << failure.path << ": "
                      << rizo::ErrorText(failure.errorNumber) << '\n';
            status = 1;
        }
    }
}

std::vector<std::string> CommandFiles(const rizo::CliOptions& options, int& status) {
    std::vector<std::string> files;
    ForEachCommandFile(options, status, [&files](std::string path) {
        files.push_back(std::move(path));
        return true;
    });
    return files;
}

bool ReportFailure(const std::string& path, const rizo::FileEntry& entry,
                   const rizo::HashSelection& selection) {
    const std::string reason = rizo::FailureReason(entry, selection);
    if (reason.empty()) {
        return true;
    }
    std::cout.flush();
    std::cerr << kProgram << ": " << path << ": " << reason << '\n';
    return false;
}

int Finish(int status) {
    if (!std::cout.flush()) {
        std::cerr << kProgram << ": write error\n";
        return 1;
    }
    return status;
}

int Run(const rizo::CliOptions& options) {
    int status = 0;
    std::vector<std::string> files;
    const rizo::BatchOptions batch{options.selection, options.uppercase};
    const auto print = [&options, &files](std::size_t index, const rizo::FileEntry& entry) {
        if (!ReportFailure(files[index], entry, options.selection)) {
            return false;
        }
        const std::optional<std::string> lines =
            rizo::DigestLines(files[index], options.selection, entry, options.lineForm);
        if (!lines) {
            std::cout.flush();
            const bool split = files[index].find_first_of("\n\r") != std::string::npos;
            std::cerr << kProgram << ": " << files[index] << ": a name "
                      << (split ? "with a line break" : "that would not read back")
                      << " cannot be written in SFV form\n";
            return false;
        }
        std::cout << *lines;
        return true;
    };
    const auto hash = [&] {
        status = std::max(status, rizo::HashFiles(files, batch, options.progress, print));
        files.clear();
        // After SIGINT or SIGTERM nothing more is walked or hashed.
        return rizo::CaughtStopSignal() == 0;
    };
    ForEachCommandFile(options, status, [&](std::string path) {
        files.push_back(std::move(path));
        return options.progress || files.size() < kFilesPerRun || hash();
    });
    hash();
    return Finish(status);
}

// The text Copy would give with the files as the list's rows, all selected.
int RunRecords(const rizo::CliOptions& options) {
    rizo::ProgramSettings settings;
    rizo::ResolveSettingsPath(settings);
    rizo::LoadSettings(settings);
    rizo::ApplyRecordOptions(options, settings);
    int status = 0;
    const std::vector<std::string> files = CommandFiles(options, status);
    std::vector<std::string> rowPaths;
    for (const std::string& file : files) {
        rowPaths.push_back(rizo::RowPath(file));
    }
    rizo::FileTable rows;
    const auto collect = [&](std::size_t index, const rizo::FileEntry& entry) {
        rizo::AppendRecordRow(entry, rows);
        return ReportFailure(files[index], entry, settings.Hashes());
    };
    status = std::max(status,
                      rizo::HashFiles(rowPaths, {settings.Hashes(), settings.ShowHashInUppercase},
                                      options.progress, collect));
    std::cout << rizo::RecordsText(rows, settings, options.crlf);
    return Finish(status);
}

}  // namespace

int main(int argc, char** argv) {
    rizo::CliOptions options;
    std::string error;
    if (!rizo::ParseArguments(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        if (!error.empty()) {
            std::cerr << kProgram << ": " << error << '\n';
        }
        std::cerr << "Try '" << kProgram << " --help'.\n";
        return 2;
    }
    if (options.help || options.version) {
        std::cout << (options.help ? rizo::kUsageText : rizo::kVersionText);
        return Finish(0);
    }
    if (options.check) {
        return rizo::CheckChecksumFiles(options.files, options.checkOptions);
    }
    return options.records ? RunRecords(options) : Run(options);
}
