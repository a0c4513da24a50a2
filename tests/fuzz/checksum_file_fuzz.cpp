// SPDX-License-Identifier: MIT
// Fuzz target of the checksum-file reader: any bytes give files with well-formed digests in line
// order and then the end, and a checksum file the program writes reads back as the row it came
// from.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "export/checksum_export.h"
#include "export/export_selection.h"
#include "filelist/file_table.h"
#include "tests/fuzz/fuzz_check.h"
#include "verify/checksum_file_reader.h"

namespace {

using rizo::ChecksumFileReader;

std::vector<rizo::ListedFile> ReadAll(std::string_view text, std::string_view listName) {
    const int fd = memfd_create("checksums", 0);
    FUZZ_CHECK(fd >= 0);
    FUZZ_CHECK(write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()));
    FUZZ_CHECK(lseek(fd, 0, SEEK_SET) == 0);
    ChecksumFileReader reader(fd, listName);
    std::vector<rizo::ListedFile> files;
    uint64_t lastLine = 0;
    for (;;) {
        const ChecksumFileReader::Event event = reader.Next();
        if (event == ChecksumFileReader::Event::kEnd) {
            break;
        }
        FUZZ_CHECK(event != ChecksumFileReader::Event::kReadError);
        FUZZ_CHECK(files.size() <= text.size());
        if (event == ChecksumFileReader::Event::kImproper) {
            FUZZ_CHECK(reader.ImproperLine() > 0);
            continue;
        }
        const rizo::ListedFile& file = reader.File();
        FUZZ_CHECK(!file.digests.empty());
        FUZZ_CHECK(file.name.find('\0') == std::string::npos);
        for (const rizo::ListedDigest& digest : file.digests) {
            FUZZ_CHECK(rizo::IsHex(digest.hex, rizo::HexLength(digest.kind)));
            FUZZ_CHECK(digest.hex == rizo::LowerHex(digest.hex));
            FUZZ_CHECK(digest.line > lastLine);
            lastLine = digest.line;
        }
        files.push_back(file);
    }
    FUZZ_CHECK(reader.Next() == ChecksumFileReader::Event::kEnd);
    close(fd);
    return files;
}

// The checksum file of one row named `name` under the saved file's folder reads back as that name
// with that digest, unless the writer says it left the row out.
void CheckRoundTrip(const std::string& name, rizo::ChecksumFormat format, int column,
                    const std::string& digest) {
    rizo::FileTable rows;
    rows.InsertRow(name);
    rows.SetCellText(0, column, digest);
    rows.SetCellText(0, rizo::kColFullPath, "/saved/" + name);
    rows.SetSelected(0, true);
    const rizo::ChecksumText written = rizo::ChecksumFileText(rows, format, "/saved/");
    if (written.unwritableName > 0) {
        return;
    }
    const std::vector<rizo::ListedFile> files =
        ReadAll(written.text, format == rizo::ChecksumFormat::kSfv ? "x.sfv" : "x.md5");
    FUZZ_CHECK(files.size() == 1);
    FUZZ_CHECK(files[0].name == name);
    FUZZ_CHECK(files[0].digests.size() == 1);
    FUZZ_CHECK(files[0].digests[0].hex == rizo::LowerHex(digest));
}

// A block record of one row named `name`, as Copy and Save give it, reads back as that name.
void CheckRecordRoundTrip(const std::string& name) {
    rizo::FileTable rows;
    rows.InsertRow(name);
    rows.SetCellText(0, rizo::kColMd5, "900150983cd24fb0d6963f7d28e17f72");
    rows.SetSelected(0, true);
    rizo::ProgramSettings settings;
    settings.HashMD5 = true;
    const std::optional<std::string> text =
        rizo::ExportSelection(rows, rizo::ExportKind::kRecords, settings);
    const std::vector<rizo::ListedFile> files = ReadAll(*text, "records.txt");
    FUZZ_CHECK(files.size() == 1);
    FUZZ_CHECK(files[0].name == name);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    ReadAll(input, "sums");
    ReadAll(input, "x.sfv");
    // The input up to its first NUL as a file name (a name holds none).
    const std::string name(input.substr(0, input.find('\0')));
    if (!name.empty()) {
        CheckRoundTrip(name, rizo::ChecksumFormat::kMd5, rizo::kColMd5,
                       "900150983CD24FB0D6963F7D28E17F72");
        CheckRoundTrip(name, rizo::ChecksumFormat::kSfv, rizo::kColCrc32, "352441C2");
        CheckRecordRoundTrip(name);
    }
    return 0;
}
