// SPDX-License-Identifier: MIT
// Saved checksum files, checked by coreutils' own checkers and by our reader in the saved
// file's folder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "engine/digest_engine.h"
#include "export/save_selection.h"
#include "filelist/file_table.h"
#include "tests/temp_folder.h"
#include "verify/checksum_file_reader.h"

namespace rizo {
namespace {

class ChecksumExportTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(engine.AcquireProvider(false, false));
        mkdir((dir + "sub").c_str(), 0700);
        mkdir((dir + "saved").c_str(), 0700);
        mkdir((dir + "saved/in").c_str(), 0700);
        // Under the saved file's folder, some in a subfolder; one outside; one never hashed.
        for (const std::string name :
             {"saved/plain", "saved/with space", "saved/back\\slash", "saved/new\nline",
              "saved/;semicolon", "saved/blank ", "saved/in/deep", "sub/outside"}) {
            AddHashedRow(temp.File(name, name));
        }
        table.SetSelected(table.InsertRow("unhashed"), true);
        table.InsertRow("not selected");
    }

    // A selected row holding what the worker gives, digests in upper case where the option says.
    void AddHashedRow(const std::string& path) {
        const int row = table.InsertRow(path.substr(path.rfind('/') + 1));
        ASSERT_TRUE(engine.Open(path, {true, true, true, true}));
        float progress = 0;
        bool atEnd = false;
        while (!atEnd) {
            engine.ReadNext(progress, atEnd);
        }
        const bool upper = row % 2 == 1;
        table.SetCellText(row, kColMd5, engine.DigestText(kCalgMd5, upper));
        table.SetCellText(row, kColSha1, engine.DigestText(kCalgSha1, upper));
        table.SetCellText(row, kColCrc32, engine.CrcText(upper));
        table.SetCellText(row, kColSha256, engine.DigestText(kCalgSha256, upper));
        table.SetCellText(row, kColFullPath, path);
        table.SetSelected(row, true);
        engine.Close();
    }

    int Shell(const std::string& command) {
        const int raw = std::system(("cd '" + dir + "saved' && " + command).c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }

    test::TempFolder temp;
    const std::string dir = temp.Path();
    DigestEngine engine;
    FileTable table;
};

TEST_F(ChecksumExportTest, CoreutilsAcceptTheSavedFileInItsFolder) {
    struct Case {
        ChecksumFormat format;
        const char* tool;
    };
    for (const Case c :
         {Case{ChecksumFormat::kMd5, "md5sum"}, Case{ChecksumFormat::kSha1, "sha1sum"},
          Case{ChecksumFormat::kSha256, "sha256sum"}}) {
        ChecksumText skipped;
        std::string error;
        ASSERT_TRUE(SaveChecksumFile(table, c.format, dir + "saved/sums", skipped, error)) << error;
        EXPECT_EQ(skipped.withoutDigest, 1) << c.tool;
        EXPECT_EQ(Shell(std::string(c.tool) + " --strict --quiet -c sums"), 0) << c.tool;
        // The file outside the folder is named by its full path, the one below by a relative one.
        const std::string saved = test::ReadText(dir + "saved/sums");
        EXPECT_NE(saved.find("  " + dir + "sub/outside\n"), std::string::npos) << saved;
        EXPECT_NE(saved.find("  in/deep\n"), std::string::npos) << saved;
        EXPECT_EQ(saved.find('\r'), std::string::npos) << saved;
    }
}

TEST_F(ChecksumExportTest, SfvListsEachNameWithItsCrcAndLeavesOutWhatItCannotWrite) {
    ChecksumText skipped;
    std::string error;
    ASSERT_TRUE(SaveChecksumFile(table, ChecksumFormat::kSfv, dir + "saved/x.sfv", skipped, error));
    EXPECT_EQ(skipped.withoutDigest, 1);
    EXPECT_EQ(skipped.unwritableName, 2);
    const int fd = ::open((dir + "saved/x.sfv").c_str(), O_RDONLY);
    ChecksumFileReader reader(fd, "x.sfv");
    std::string names;
    while (reader.Next() == ChecksumFileReader::Event::kFile) {
        const ListedFile& file = reader.File();
        names += file.name + ";";
        EXPECT_EQ(file.digests.at(0).hex,
                  LowerHex(table.CellText(
                      table.FindRowByPath(file.name.starts_with("/") ? file.name
                                                                     : dir + "saved/" + file.name),
                      kColCrc32)));
    }
    ::close(fd);
    EXPECT_EQ(names, "plain;with space;back\\slash;blank ;in/deep;" + dir + "sub/outside;");
}

}  // namespace
}  // namespace rizo
