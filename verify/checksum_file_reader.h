// SPDX-License-Identifier: MIT
// Reads a checksum file one listed file at a time: GNU, BSD tag and SFV lines and the program's
// own labelled block records, with the digests of consecutive lines for one file gathered, so
// that file is read once however many digests it is listed with.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

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

    // Reads from `fd`, which stays open and owned by the caller. `listName` is the checksum
    // file's name: one ending in ".sfv" holds SFV lines; others may say which digest their
    // untagged lines hold (see NamedKind).
    ChecksumFileReader(int fd, std::string_view listName);

    Event Next();
    const ListedFile& File() const { return file; }
    uint64_t ImproperLine() const { return improperLine; }
    // For an improper line of a digest the program does not read, the digest's name ("XXH32");
    // empty for other improper lines.
    const std::string& UnreadDigest() const { return unreadDigest; }
    int ReadError() const { return lines.ReadError(); }
    // Lines read so far, including those read ahead to end a listed file.
    uint64_t LinesRead() const { return lines.LineNumber(); }

private:
    struct Item {
        Event event = Event::kEnd;
        uint64_t line = 0;
        ListedFile file;
        std::string unreadDigest;
    };
    // A line of the list, kept for one more line (a rule after it makes it a record's name), or
    // until the list's form is known.
    struct Line {
        std::string text;
        uint64_t number = 0;
        bool tooLong = false;
    };
    // A block record: its file-name line, the rule, labelled lines, the rule.
    struct Block {
        std::string name;
        uint64_t nameLine = 0;
        // Its name line did not follow a blank line, a record or the list's start: it may be the
        // rest of a name split by a line break, so the record is not read.
        bool partial = false;
        std::string fullPath;
        std::vector<ListedDigest> digests;
    };
    // GNU and BSD tag lines and SFV lines can read one line two ways: one list holds one form.
    enum class Form { kUnknown, kGnu, kSfv };

    Item NextItem();
    void Take(Line line);
    void TakeBlockLine(Line line);
    void BreakBlock(Line line);
    void EndBlock();
    // A line outside records: read at once where the list's form is known, else held for it.
    void TakeLine(Line line);
    void Decide(Form chosen);
    // Where no line has decided: SFV after a ';' comment, GNU otherwise.
    void DecideUnknown();
    void ReadLine(const Line& line);
    // In line order: held while the form is unknown.
    void Emit(Item item);

    TextLines lines;
    ChecksumLineParser parser;
    Form form = Form::kUnknown;
    bool sfvComments = false;
    std::deque<Item> ready;
    std::optional<Line> previous;
    // The line before `previous` ends a record or is blank, or there was none.
    bool afterBoundary = true;
    std::optional<Block> block;
    // While the form is unknown: the lines that wait for it, and complete records among them.
    std::deque<std::pair<Line, std::optional<Item>>> undecided;
    std::size_t undecidedBytes = 0;
    std::optional<Item> lookahead;
    ListedFile file;
    uint64_t improperLine = 0;
    std::string unreadDigest;
};

}  // namespace rizo
