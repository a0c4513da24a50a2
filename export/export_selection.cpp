// SPDX-License-Identifier: MIT
// Block, delimited and single-digest records built from the rows' cell texts.
#include "export/export_selection.h"

#include <array>
#include <string_view>
#include <vector>

#include "verify/checksum_name.h"

namespace rizo {
namespace {

constexpr std::string_view kRule = "--------------------------------------------------";
constexpr size_t kLabelWidth = 15;

using Cells = std::array<std::string, kColFullPath + 1>;

struct Field {
    std::string_view label;
    int column;
};

// The optional fields of a record in output order; the file name always comes first.
std::vector<Field> ChosenFields(const ProgramSettings& settings) {
    std::vector<Field> fields;
    const std::array<std::pair<bool, Field>, 8> all = {{
        {settings.HashMD5, {"MD5", kColMd5}},
        {settings.HashSHA1, {"SHA1", kColSha1}},
        {settings.HashCRC32, {"CRC32", kColCrc32}},
        {settings.HashSHA256, {"SHA256", kColSha256}},
        {settings.IncSize, {"File Size", kColSize}},
        {settings.IncDateCreated, {"Date Created", kColCreated}},
        {settings.IncDateModified, {"Date Modified", kColModified}},
        {settings.IncFolder, {"Full Path", kColFullPath}},
    }};
    for (const auto& [chosen, field] : all) {
        if (chosen) {
            fields.push_back(field);
        }
    }
    return fields;
}

void AppendBlockRecord(std::string& out, const Cells& cells, const std::vector<Field>& fields,
                       std::string_view lineBreak) {
    out.append(cells[kColFilename]).append(lineBreak).append(kRule).append(lineBreak);
    for (const Field& field : fields) {
        out.append(field.label);
        out.append(kLabelWidth - field.label.size(), ' ');
        out.append(": ").append(cells[field.column]);
        if (field.column == kColSize) {
            out.append(" Byte");
        }
        out.append(lineBreak);
    }
    out.append(kRule).append(lineBreak);
}

void AppendDelimitedRecord(std::string& out, const Cells& cells, const std::vector<Field>& fields,
                           std::string_view delimiter) {
    out.append(cells[kColFilename]);
    for (const Field& field : fields) {
        out.append(delimiter).append(cells[field.column]);
        if (field.column == kColSize) {
            out.append("Byte");
        }
    }
}

int DigestColumn(ExportKind kind) {
    switch (kind) {
        case ExportKind::kSha1:
            return kColSha1;
        case ExportKind::kCrc32:
            return kColCrc32;
        case ExportKind::kSha256:
            return kColSha256;
        default:
            return kColMd5;
    }
}

// The name and path as a record holds them: escaped where a line break would split them, so that
// no part of one reads as a record of another file.
Cells ReadCells(const RowStore& rows, int row) {
    Cells cells;
    for (int column = 0; column <= kColFullPath; ++column) {
        cells[column] = rows.CellText(row, column);
    }
    cells[kColFilename] = RecordName(cells[kColFilename]);
    cells[kColFullPath] = RecordName(cells[kColFullPath]);
    return cells;
}

}  // namespace

std::optional<std::string> ExportSelection(const RowStore& rows, ExportKind kind,
                                           const ProgramSettings& settings,
                                           std::string_view lineBreak) {
    if (rows.SelectedCount() == 0) {
        return std::nullopt;
    }
    const std::vector<Field> fields = ChosenFields(settings);
    const std::string_view delimiter = settings.DelimiterType == 1 ? "\t" : lineBreak;
    const int rowCount = rows.RowCount();
    std::string out;
    for (int row = 0; row < rowCount; ++row) {
        if (!rows.IsSelected(row)) {
            continue;
        }
        if (kind != ExportKind::kRecords) {
            out.append(rows.CellText(row, DigestColumn(kind)));
        } else if (settings.DelimiterType == 0) {
            AppendBlockRecord(out, ReadCells(rows, row), fields, lineBreak);
        } else {
            AppendDelimitedRecord(out, ReadCells(rows, row), fields, delimiter);
        }
        if (row != rowCount - 1) {
            out.append(lineBreak);
        }
    }
    return out;
}

}  // namespace rizo
