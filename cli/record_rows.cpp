// The list rows that the window would show for files given on the command line.
#include "cli/record_rows.h"

#include <filesystem>

#include "cli/file_digests.h"
#include "engine/value_format.h"

namespace rizo {

void ApplyRecordOptions(const CliOptions& options, ProgramSettings& settings) {
    if (options.delimiterType) {
        settings.DelimiterType = *options.delimiterType;
    }
    if (options.fields) {
        settings.IncSize = options.fields->IncSize;
        settings.IncDateCreated = options.fields->IncDateCreated;
        settings.IncDateModified = options.fields->IncDateModified;
        settings.IncFolder = options.fields->IncFolder;
    }
}

bool AppendRecordRow(DigestEngine& engine, const std::string& path, const ProgramSettings& settings,
                     RowStore& rows, std::string& reason) {
    // The window's rows always hold absolute paths, from its dialogs and drops.
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    const std::string fullPath = error ? path : absolute.lexically_normal().native();
    const int row = rows.InsertRow(fullPath.substr(fullPath.rfind('/') + 1));

    FileDigests digests;
    const bool hashed = HashFile(engine, fullPath, settings.Hashes(), settings.ShowHashInUppercase,
                                 digests, reason);
    // After a failed open the engine reports size 0 and empty dates, as the window's row shows.
    const std::string cells[] = {digests.md5,
                                 digests.sha1,
                                 digests.crc32,
                                 digests.sha256,
                                 FormatFileSize(engine.FileSize()),
                                 engine.CreatedText(),
                                 engine.ModifiedText(),
                                 fullPath};
    for (int column = kColMd5; column < kColumnCount; ++column) {
        rows.SetCellText(row, column, cells[column - kColMd5]);
    }
    rows.SetSelected(row, true);
    return hashed;
}

}  // namespace rizo
