// SPDX-License-Identifier: MIT
// The digests beyond the window's four against their reference programs' own output on the same
// files: coreutils' sha224sum, sha384sum, sha512sum and b2sum, and xxhsum.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "engine/digest_engine.h"
#include "tests/temp_folder.h"

namespace rizo {
namespace {

constexpr std::size_t kPiece = DigestEngine::kPieceSize;
constexpr std::size_t kBlock = DigestEngine::kBufferSize;

struct Reference {
    std::string command;  // the program with its options, run on every file at once
    std::string FileEntry::*text;
    int blake2bBits = 512;
};

// The digest of one line a reference program prints: "HEX  NAME", or "TAG (NAME) = HEX", the form
// xxhsum prints XXH3 in.
std::string HexOf(const std::string& line) {
    const std::size_t space = line.find(' ');
    if (space != std::string::npos && line.compare(space, 2, " (") == 0) {
        return line.substr(line.rfind(" = ") + 3);
    }
    return line.substr(0, space);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

class ReferenceDigestsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(engine.AcquireProvider(false, false));
        // Lengths around a digest's own blocks (64 and 128 bytes), the size where the lanes take
        // over, the piece and the read block, and a name that is not UTF-8.
        const std::vector<std::size_t> sizes = {
            0,      1,          63,     64,         65,
            127,    128,        129,    256 << 10,  kPiece - 1,
            kPiece, kPiece + 1, kBlock, kBlock + 1, kBlock + kPiece + 3};
        std::mt19937 generator(2026);
        std::string bytes(kBlock + kPiece + 3, '\0');
        for (char& byte : bytes) {
            byte = static_cast<char>(generator());
        }
        for (std::size_t i = 0; i < sizes.size(); ++i) {
            names.push_back("f" + std::to_string(i));
            dir.File(names.back(), bytes.substr(0, sizes[i]));
        }
        names.push_back("caf\xe9 \xff\xfe.bin");
        dir.File(names.back(), bytes.substr(7, 1000));
    }

    // The reference program's digests of the files, in their order.
    std::vector<std::string> Expected(const std::string& command) {
        std::string line = command;
        for (const std::string& name : names) {
            line += " " + test::Quoted(name);
        }
        const test::ShellOutcome outcome =
            test::RunShell(dir.Path().substr(0, dir.Path().size() - 1), line, false);
        EXPECT_EQ(outcome.status, 0) << command << ": " << outcome.err;
        std::vector<std::string> digests;
        for (const std::string& printed : Lines(outcome.out)) {
            digests.push_back(HexOf(printed));
        }
        return digests;
    }

    // Every digest beyond the four of every file, from one read each.
    std::vector<FileEntry> Computed(int blake2bBits) {
        HashSelection all{};
        all.md5 = false;
        all.sha224 = all.sha384 = all.sha512 = all.blake2b = true;
        all.xxh64 = all.xxh3 = all.xxh128 = true;
        all.blake2bBits = blake2bBits;
        std::vector<FileEntry> entries;
        for (const std::string& name : names) {
            EXPECT_TRUE(engine.Open(dir.Path() + name, all)) << name;
            float percent = 0;
            for (bool atEnd = false; !atEnd;) {
                engine.ReadNext(percent, atEnd);
            }
            engine.TakeDigestTexts(entries.emplace_back(), false);
        }
        return entries;
    }

    test::TempFolder dir;
    std::vector<std::string> names;
    DigestEngine engine;
};

// Each file is read once for all seven digests, with the lanes where its pieces are large enough.
TEST_F(ReferenceDigestsTest, EachDigestEqualsItsReferenceProgramOnOddFiles) {
    const std::vector<Reference> references = {
        {"sha224sum", &FileEntry::sha224},          {"sha384sum", &FileEntry::sha384},
        {"sha512sum", &FileEntry::sha512},          {"xxhsum -H1", &FileEntry::xxh64},
        {"xxhsum -H3", &FileEntry::xxh3},           {"xxhsum -H2", &FileEntry::xxh128},
        {"b2sum -l 512", &FileEntry::blake2b},      {"b2sum -l 8", &FileEntry::blake2b, 8},
        {"b2sum -l 160", &FileEntry::blake2b, 160}, {"b2sum -l 256", &FileEntry::blake2b, 256},
        {"b2sum -l 384", &FileEntry::blake2b, 384},
    };
    std::vector<FileEntry> computed;
    int computedBits = 0;
    for (const Reference& reference : references) {
        SCOPED_TRACE(reference.command);
        if (computed.empty() || computedBits != reference.blake2bBits) {
            computed = Computed(reference.blake2bBits);
            computedBits = reference.blake2bBits;
        }
        const std::vector<std::string> expected = Expected(reference.command);
        ASSERT_EQ(expected.size(), names.size());
        for (std::size_t i = 0; i < names.size(); ++i) {
            EXPECT_FALSE(expected[i].empty());
            EXPECT_EQ(computed[i].*reference.text, expected[i]) << names[i];
        }
    }
}

}  // namespace
}  // namespace rizo
