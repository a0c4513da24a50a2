// SPDX-License-Identifier: MIT
// The audit's core: names compared within the folder, new files, and which new file a missing
// one moved to.
#include "verify/folder_audit.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using rizo::DigestKind;
using rizo::FileEntry;
using rizo::FolderAudit;
using rizo::ListedFile;

TEST(FolderAuditTest, NamesAreComparedByTheirPlaceInTheFolder) {
    const struct {
        const char* name;
        std::optional<std::string> inFolder;
    } cases[] = {
        {"a", "a"},      {"./sub//b", "sub/b"},  {"sub/../a", "a"}, {"/f/x/a", "a"},
        {"../x/a", "a"}, {"../y/a", {}},         {"/g/a", {}},      {"..", {}},
        {".", {}},       {".hidden", ".hidden"},
    };
    for (const auto& each : cases) {
        EXPECT_EQ(rizo::PathInFolder(each.name, "/f/x/"), each.inFolder) << each.name;
    }
}

FileEntry Read(const std::string& md5, const std::string& sha1 = "") {
    FileEntry entry;
    entry.outcome = rizo::FileOutcome::kRead;
    entry.md5 = md5;
    entry.sha1 = sha1;
    return entry;
}

ListedFile Listed(const std::string& md5, const std::string& sha1 = "") {
    ListedFile listed;
    listed.digests.push_back({DigestKind::kMd5, md5, 1, std::nullopt});
    if (!sha1.empty()) {
        listed.digests.push_back({DigestKind::kSha1, sha1, 2, std::nullopt});
    }
    return listed;
}

// Each missing file takes one new file with every digest listed for it, one of its own name
// before the first in byte order; a changed file matches none and stays new.
TEST(FolderAuditTest, MissingFilesMoveToNewFilesWithTheirDigests) {
    FolderAudit audit({"kept", "z/photo", "b/copy", "a/other", "changed", "c/both", "LIST"});
    EXPECT_TRUE(audit.Name("kept"));
    EXPECT_TRUE(audit.Name("LIST"));
    EXPECT_FALSE(audit.Name("photo"));
    audit.Missing("photo", Listed("11"));
    audit.Missing("twin", Listed("11"));
    audit.Missing("third", Listed("11"));
    audit.Missing("old", Listed("22"));
    // Listed with two digests: a new file with the first alone is not it.
    audit.Missing("pair", Listed("33", "44"));
    audit.Missing("pair2", Listed("33", "55"));
    const std::vector<std::string> expected = {"a/other", "b/copy", "c/both", "changed", "z/photo"};
    ASSERT_EQ(audit.NewFiles(), expected);
    const rizo::HashSelection digests = audit.MoveDigests();
    EXPECT_TRUE(digests.md5 && digests.sha1 && !digests.crc32 && !digests.sha256);
    const std::vector<FileEntry> results = {Read("11"), Read("11"), Read("33", "55"), Read("23"),
                                            Read("11")};
    for (std::size_t index = 0; index < results.size(); ++index) {
        audit.NewResult(index, results[index]);
    }
    audit.Pair();
    EXPECT_EQ(audit.MovedTo("photo"), "z/photo");
    EXPECT_EQ(audit.MovedTo("twin"), "a/other");
    EXPECT_EQ(audit.MovedTo("third"), "b/copy");
    EXPECT_EQ(audit.MovedTo("old"), std::nullopt);
    EXPECT_EQ(audit.MovedTo("pair"), std::nullopt);
    EXPECT_EQ(audit.MovedTo("pair2"), "c/both");
    EXPECT_EQ(audit.MovedTo("kept"), std::nullopt);
    std::vector<std::string> stillNew;
    for (std::size_t index = 0; index < expected.size(); ++index) {
        if (audit.StillNew(index)) {
            stillNew.push_back(expected[index]);
        }
    }
    EXPECT_EQ(stillNew, std::vector<std::string>{"changed"});
    EXPECT_EQ(audit.NewCount(), 1u);
    EXPECT_EQ(audit.MovedCount(), 4u);
}

TEST(FolderAuditTest, NothingMissingNeedsNoDigests) {
    FolderAudit audit({"new", "listed"});
    audit.Name("listed");
    const rizo::HashSelection digests = audit.MoveDigests();
    EXPECT_FALSE(digests.md5 || digests.sha1 || digests.crc32 || digests.sha256);
    EXPECT_EQ(audit.NewFiles(), std::vector<std::string>{"new"});
    audit.Pair();
    EXPECT_TRUE(audit.StillNew(0));
    EXPECT_EQ(audit.NewCount(), 1u);
}

}  // namespace
