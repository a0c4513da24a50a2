// rizodidiz-cli: prints the digests of files, computed by the same engine as the program.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/digest_lines.h"
#include "cli/file_digests.h"
#include "cli/record_rows.h"
#include "engine/digest_engine.h"
#include "export/export_selection.h"
#include "filelist/file_table.h"
#include "settings/settings_store.h"

namespace {

constexpr char kProgram[] = "rizodidiz-cli";

int Run(const rizo::CliOptions& options) {
    rizo::DigestEngine engine;
    if (!engine.AcquireProvider(rizo::OsClass() <= 1, false)) {
        std::cerr << kProgram << ": no digest service available\n";
        return 1;
    }
    int status = 0;
    for (const std::string& path : options.files) {
        rizo::FileDigests digests;
        std::string reason;
        if (rizo::HashFile(engine, path, options.selection, options.uppercase, digests, reason)) {
            std::cout << rizo::DigestLines(path, options.selection, digests);
        } else {
            std::cout.flush();
            std::cerr << kProgram << ": " << path << ": " << reason << '\n';
            status = 1;
        }
    }
    if (!std::cout.flush()) {
        std::cerr << kProgram << ": write error\n";
        return 1;
    }
    return status;
}

// The text Copy would give with the files as the list's rows, all selected.
int RunRecords(const rizo::CliOptions& options) {
    rizo::ProgramSettings settings;
    rizo::ResolveSettingsPath(settings);
    rizo::LoadSettings(settings);
    rizo::ApplyRecordOptions(options, settings);
    rizo::DigestEngine engine;
    if (!engine.AcquireProvider(rizo::OsClass() <= 1, false)) {
        std::cerr << kProgram << ": no digest service available\n";
        return 1;
    }
    rizo::FileTable rows;
    int status = 0;
    for (const std::string& path : options.files) {
        std::string reason;
        if (!rizo::AppendRecordRow(engine, path, settings, rows, reason)) {
            std::cerr << kProgram << ": " << path << ": " << reason << '\n';
            status = 1;
        }
    }
    std::cout << rizo::ExportSelection(rows, rizo::ExportKind::kRecords, settings).value_or("");
    if (!std::cout.flush()) {
        std::cerr << kProgram << ": write error\n";
        return 1;
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    rizo::CliOptions options;
    std::string error;
    if (!rizo::ParseArguments(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::cerr << kProgram << ": " << error << "\nTry '" << kProgram << " --help'.\n";
        return 2;
    }
    if (options.help) {
        std::cout << rizo::kUsageText;
        return 0;
    }
    return options.records ? RunRecords(options) : Run(options);
}
