// SPDX-License-Identifier: MIT
// Reads a checksum file one listed file at a time: GNU, BSD tag and SFV lines and the program's
// own labelled block records, with the digests of consecutive lines for one file gathered, so
// that file is read once however many digests it is listed with.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "verify/checksum_line.h"
#include "verify/listed_file.h"
#include "verify/text_lines.h"

namespace rizo {

class ChecksumFileReader {
public:
    enum class Event {
        kFile,      // File() holds the next listed file
        kImproper,  // ImproperLine() fits no form
        kEnd,
        kReadError,  // ReadError() says why
    };

    // Reads from `fd`, which stays open and owned by the caller.
    explicit ChecksumFileReader(int fd) : lines(fd) {}

    Event Next();
    const ListedFile& File() const { return file; }
    uint64_t ImproperLine() const { return improperLine; }
    int ReadError() const { return lines.ReadError(); }
    // Lines read so far, including those read ahead to end a listed file.
    uint64_t LinesRead() const { return lines.LineNumber(); }

private:
    struct Item {
        Event event = Event::kEnd;
        uint64_t line = 0;
        ListedFile file;
    };
    // A block record: its file-name line, the rule, labelled lines, the rule.
    struct Block {
        std::string name;
        uint64_t nameLine = 0;
        std::string fullPath;
        std::vector<ListedDigest> digests;
    };

    Item NextItem();
    void Take(const std::string& text, uint64_t line);
    void TakeBlockLine(const std::string& text, uint64_t line);
    void EndBlock();
    void DropHeld();
    void PushImproper(uint64_t line);

    TextLines lines;
    ChecksumLineParser parser;
    std::deque<Item> ready;
    // A line of no form, kept for one more line: followed by the rule it names a block record.
    std::optional<std::pair<std::string, uint64_t>> held;
    std::optional<Block> block;
    std::optional<Item> lookahead;
    ListedFile file;
    uint64_t improperLine = 0;
};

}  // namespace rizo
