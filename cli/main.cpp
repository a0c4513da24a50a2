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

// Names each folder that -r could not list before `files` files were given (all with none);
// any makes `status` 1.
void ReportScanFailures(rizo::CommandPaths& paths, int& status,
                        std::size_t files = static_cast<std::size_t>(-1)) {
    const std::vector<rizo::CommandPaths::Failure> failures = paths.TakeFailures(files);
    if (!failures.empty()) {
        std::cout.flush();
        status = 1;
    }
    for (const rizo::CommandPaths::Failure& each : failures) {
        std::cerr << kProgram << ": " << each.failure.path << ": "
                  << rizo::ErrorText(each.failure.errorNumber) << '\n';
    }
}

std::vector<std::string> CommandFiles(const rizo::CliOptions& options, int& status) {
    rizo::CommandPaths paths(options.files, options.recursive);
    std::vector<std::string> files;
    for (std::string path; paths.Next(path);) {
        files.push_back(std::move(path));
    }
    ReportScanFailures(paths, status);
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
    // Digest lines show no file times.
    rizo::BatchOptions batch{
        .hashes = options.selection, .uppercase = options.uppercase, .fileTimes = false};
    batch.byteLimit = options.bytes.value_or(batch.byteLimit);
    rizo::CommandPaths paths(options.files, options.recursive);
    const auto print = [&](std::size_t index, const rizo::FileEntry& entry) {
        // A folder that failed before this file is named before it.
        ReportScanFailures(paths, status, index);
        const std::string& path = entry.path;
        if (!ReportFailure(path, entry, options.selection)) {
            return false;
        }
        const std::optional<std::string> lines =
            rizo::DigestLines(path, options.selection, entry, options.lineForm);
        if (!lines) {
            std::cout.flush();
            const bool split = path.find_first_of("\n\r") != std::string::npos;
            std::cerr << kProgram << ": " << path << ": a name "
                      << (split ? "with a line break" : "that would not read back")
                      << " cannot be written in SFV form\n";
            return false;
        }
        std::cout << *lines;
        return true;
    };
    // Without --progress the files are hashed as the folders are walked, so a folder of a million
    // files is never held whole; the whole-run figures of --progress need them all first.
    const int hashed =
        options.progress ? rizo::HashFiles(CommandFiles(options, status), batch, true, print)
                         : rizo::HashPaths([&paths](std::string& path) { return paths.Next(path); },
                                           batch, print);
    status = std::max(status, hashed);
    ReportScanFailures(paths, status);
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
    rizo::BatchOptions batch{settings.Hashes(), settings.ShowHashInUppercase};
    batch.byteLimit = options.bytes.value_or(batch.byteLimit);
    status = std::max(status, rizo::HashFiles(rowPaths, batch, options.progress, collect));
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
