// SPDX-License-Identifier: MIT
// Exported text of selected rows: layouts, options, terminators and row order.
#include "export/export_selection.h"

#include <gtest/gtest.h>

#include "filelist/file_table.h"

namespace rizo {
namespace {

using Cells = std::array<std::string, kColumnCount>;

const Cells kAbc = {"abc.txt",
                    "900150983cd24fb0d6963f7d28e17f72",
                    "a9993e364706816aba3e25717850c26c9cd0d89d",
                    "352441c2",
                    "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad",
                    "3",
                    "2014-11-19 10:20",
                    "2014-11-20 08:05",
                    "C:\\data\\abc.txt"};
const Cells kZeros = {"zeros.bin",
                      "b6d81b360a5672d80c27430f39153e2c",
                      "3b71f43ff30f4b15b5cd85dd9e95ebc7e84eb5a3",
                      "a738ea1c",
                      "30e14955ebf1352266dc2ff8067e68104607e750abb9d3b36582b8af909fcb58",
                      "1,048,576",
                      "2014-11-19 10:21",
                      "2014-11-19 10:21",
                      "C:\\data\\zeros.bin"};
// A row whose batch never reached it: only its name.
const Cells kUnhashed = {"new.txt", "", "", "", "", "", "", "", ""};

FileTable Table(const std::vector<Cells>& rows, const std::vector<int>& selected) {
    FileTable table;
    for (const Cells& cells : rows) {
        int row = table.InsertRow(cells[kColFilename]);
        for (int column = 1; column < kColumnCount; ++column) {
            table.SetCellText(row, column, cells[column]);
        }
    }
    for (int row : selected) {
        table.SetSelected(row, true);
    }
    return table;
}

ProgramSettings Example2Options(int32_t delimiter) {
    ProgramSettings options;
    options.HashCRC32 = true;
    options.IncDateCreated = false;
    options.IncDateModified = true;
    options.IncFolder = true;
    options.DelimiterType = delimiter;
    return options;
}

ProgramSettings EverythingOff() {
    ProgramSettings options;
    options.HashMD5 = false;
    options.IncSize = false;
    options.IncDateCreated = false;
    options.DelimiterType = 1;
    return options;
}

const std::string kRuleLine = "--------------------------------------------------\r\n";
const std::string kAbcBlock = "abc.txt\r\n" + kRuleLine +
                              "MD5            : 900150983cd24fb0d6963f7d28e17f72\r\n"
                              "File Size      : 3 Byte\r\n"
                              "Date Created   : 2014-11-19 10:20\r\n" +
                              kRuleLine;
const std::string kZerosBlock = "zeros.bin\r\n" + kRuleLine +
                                "MD5            : b6d81b360a5672d80c27430f39153e2c\r\n"
                                "File Size      : 1,048,576 Byte\r\n"
                                "Date Created   : 2014-11-19 10:21\r\n" +
                                kRuleLine;
const std::vector<std::string> kAbcFields = {"abc.txt",          "900150983cd24fb0d6963f7d28e17f72",
                                             "352441c2",         "3Byte",
                                             "2014-11-20 08:05", "C:\\data\\abc.txt"};
const std::vector<std::string> kZerosFields = {
    "zeros.bin",        "b6d81b360a5672d80c27430f39153e2c",
    "a738ea1c",         "1,048,576Byte",
    "2014-11-19 10:21", "C:\\data\\zeros.bin"};

std::string Join(const std::vector<std::string>& parts, const std::string& separator) {
    std::string out;
    for (size_t i = 0; i < parts.size(); ++i) {
        out += (i ? separator : "") + parts[i];
    }
    return out;
}

TEST(ExportSelection, RecordsInEveryLayoutEachEndedByALineBreakButTheListsLastRow) {
    ProgramSettings everyLine;
    everyLine.HashSHA1 = everyLine.HashCRC32 = everyLine.HashSHA256 = true;
    everyLine.IncDateModified = everyLine.IncFolder = true;
    ProgramSettings blocksOff = EverythingOff();
    blocksOff.DelimiterType = 0;
    struct Case {
        std::vector<Cells> rows;
        std::vector<int> selected;
        ProgramSettings options;
        std::string expected;
    };
    const Case cases[] = {
        {{kAbc, kZeros}, {0, 1}, {}, kAbcBlock + "\r\n" + kZerosBlock},
        {{kAbc, kZeros}, {0}, {}, kAbcBlock + "\r\n"},
        {{kAbc, kZeros},
         {0, 1},
         Example2Options(1),
         Join(kAbcFields, "\t") + "\r\n" + Join(kZerosFields, "\t")},
        {{kAbc, kZeros},
         {0, 1},
         Example2Options(2),
         Join(kAbcFields, "\r\n") + "\r\n" + Join(kZerosFields, "\r\n")},
        {{kAbc, kZeros},
         {0, 1},
         Example2Options(-1),
         Join(kAbcFields, "\r\n") + "\r\n" + Join(kZerosFields, "\r\n")},
        // A row whose batch never reached it, and one hashed before a digest was switched on.
        {{kUnhashed},
         {0},
         {},
         "new.txt\r\n" + kRuleLine + "MD5            : \r\nFile Size      :  Byte\r\n" +
             "Date Created   : \r\n" + kRuleLine},
        {{kUnhashed}, {0}, Example2Options(1), "new.txt\t\t\tByte\t\t"},
        {{kAbc},
         {0},
         everyLine,
         "abc.txt\r\n" + kRuleLine + "MD5            : " + kAbc[kColMd5] +
             "\r\nSHA1           : " + kAbc[kColSha1] +
             "\r\nCRC32          : 352441c2\r\nSHA256         : " + kAbc[kColSha256] +
             "\r\nFile Size      : 3 Byte\r\nDate Created   : 2014-11-19 10:20\r\n"
             "Date Modified  : 2014-11-20 08:05\r\nFull Path      : C:\\data\\abc.txt\r\n" +
             kRuleLine},
        {{kAbc}, {0}, blocksOff, "abc.txt\r\n" + kRuleLine + kRuleLine},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(ExportSelection(Table(c.rows, c.selected), ExportKind::kRecords, c.options),
                  c.expected)
            << "case " << i;
    }
}

// A single digest is its cell alone, whatever the options say.
TEST(ExportSelection, SingleDigestIsItsCellInEveryRow) {
    const std::pair<ExportKind, int> kinds[] = {{ExportKind::kMd5, kColMd5},
                                                {ExportKind::kSha1, kColSha1},
                                                {ExportKind::kCrc32, kColCrc32},
                                                {ExportKind::kSha256, kColSha256}};
    for (const auto& [kind, column] : kinds) {
        EXPECT_EQ(ExportSelection(Table({kAbc, kZeros}, {0, 1}), kind, EverythingOff()),
                  kAbc[column] + "\r\n" + kZeros[column])
            << column;
    }
}

TEST(ExportSelection, NothingSelectedExportsNothing) {
    FileTable table = Table({kAbc, kZeros}, {});
    EXPECT_FALSE(ExportSelection(table, ExportKind::kRecords, {}).has_value());
    EXPECT_FALSE(ExportSelection(table, ExportKind::kMd5, {}).has_value());
}

}  // namespace
}  // namespace rizo
