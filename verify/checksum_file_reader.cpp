// SPDX-License-Identifier: MIT
// Reads a checksum file one listed file at a time.
#include "verify/checksum_file_reader.h"

#include <algorithm>
#include <utility>

#include "verify/checksum_name.h"

namespace rizo {

namespace {

constexpr std::size_t kRuleLength = 50;
// Block records label each value: "%-15s: %s".
constexpr std::size_t kLabelWidth = 15;
// Lines that either form reads, held until one only one form reads: past this many (or bytes),
// the list is taken for GNU lines, the commoner form.
constexpr std::size_t kMostUndecidedLines = 4096;
constexpr std::size_t kMostUndecidedBytes = std::size_t{1} << 20;

bool IsRule(const std::string& text) {
    return text.size() == kRuleLength &&
           std::all_of(text.begin(), text.end(), [](char c) { return c == '-'; });
}

bool IsBlankLine(std::string_view text) {
    return text.find_first_not_of(" \t") == std::string_view::npos;
}

std::optional<DigestKind> DigestLabel(std::string_view label) {
    for (const DigestKind kind :
         {DigestKind::kMd5, DigestKind::kSha1, DigestKind::kCrc32, DigestKind::kSha256}) {
        if (label == KindName(kind)) {
            return kind;
        }
    }
    return std::nullopt;
}

// The BLAKE2b length of the file's lines in hex digits; 0 without one.
std::size_t Blake2bLength(const ListedFile& file) {
    for (const ListedDigest& digest : file.digests) {
        if (digest.kind == DigestKind::kBlake2b) {
            return digest.hex.size();
        }
    }
    return 0;
}

// One read computes one BLAKE2b length: lines of two are not gathered into one listed file.
bool OneBlake2bLength(const ListedFile& file, const ListedFile& more) {
    const std::size_t length = Blake2bLength(file);
    const std::size_t moreLength = Blake2bLength(more);
    return length == 0 || moreLength == 0 || length == moreLength;
}

}  // namespace

ChecksumFileReader::ChecksumFileReader(int fd, std::string_view listName)
    : lines(fd), parser(NamedKind(listName)) {
    if (LowerFileName(listName).ends_with(".sfv")) {
        form = Form::kSfv;
    }
}

ChecksumFileReader::Event ChecksumFileReader::Next() {
    Item item = lookahead ? std::move(*lookahead) : NextItem();
    lookahead.reset();
    if (item.event == Event::kImproper) {
        improperLine = item.line;
        unreadDigest = std::move(item.unreadDigest);
    }
    if (item.event != Event::kFile) {
        return item.event;
    }
    file = std::move(item.file);
    for (;;) {
        Item next = NextItem();
        if (next.event != Event::kFile || next.file.name != file.name ||
            !OneBlake2bLength(file, next.file)) {
            lookahead = std::move(next);
            return Event::kFile;
        }
        std::move(next.file.digests.begin(), next.file.digests.end(),
                  std::back_inserter(file.digests));
    }
}

ChecksumFileReader::Item ChecksumFileReader::NextItem() {
    std::string text;
    while (ready.empty()) {
        switch (lines.Next(text)) {
            case TextLines::Result::kLine:
                Take({std::move(text), lines.LineNumber(), false});
                break;
            case TextLines::Result::kTooLong:
                Take({std::move(text), lines.LineNumber(), true});
                break;
            case TextLines::Result::kEnd:
                if (block) {
                    Emit({Event::kImproper, block->nameLine, {}, {}});
                    block.reset();
                }
                if (previous) {
                    TakeLine(std::move(*std::exchange(previous, std::nullopt)));
                }
                DecideUnknown();
                ready.push_back({Event::kEnd, 0, {}, {}});
                break;
            case TextLines::Result::kReadError:
                return {Event::kReadError, 0, {}, {}};
        }
    }
    Item item = std::move(ready.front());
    // The end stays, so every later call reports it again.
    if (item.event != Event::kEnd) {
        ready.pop_front();
    }
    return item;
}

void ChecksumFileReader::Take(Line line) {
    if (block && !line.tooLong) {
        TakeBlockLine(std::move(line));
        return;
    }
    if (block) {
        BreakBlock(std::move(line));
        return;
    }
    if (!line.tooLong && IsRule(line.text) && previous && !previous->tooLong) {
        block = Block{ReadRecordName(previous->text), previous->number, !afterBoundary, {}, {}};
        previous.reset();
        return;
    }
    if (previous) {
        afterBoundary = !previous->tooLong && IsBlankLine(previous->text);
        TakeLine(std::move(*previous));
    }
    previous = std::move(line);
}

void ChecksumFileReader::TakeBlockLine(Line line) {
    const std::string& text = line.text;
    if (IsRule(text)) {
        EndBlock();
        return;
    }
    if (text.size() >= kLabelWidth + 2 && text.compare(kLabelWidth, 2, ": ") == 0) {
        std::string_view label(text.data(), kLabelWidth);
        label = label.substr(0, label.find_last_not_of(' ') + 1);
        const std::string_view value = std::string_view(text).substr(kLabelWidth + 2);
        const std::optional<DigestKind> kind = DigestLabel(label);
        if (!kind) {
            if (label == "Full Path") {
                block->fullPath = ReadRecordName(value);
            }
            return;
        }
        if (IsHex(value, HexLength(*kind))) {
            block->digests.push_back({*kind, LowerHex(value), line.number, std::nullopt});
            return;
        }
        // A digest switched on after its row was hashed is listed empty.
        if (value.empty()) {
            return;
        }
    } else if (text.size() == kLabelWidth + 1 && text.compare(kLabelWidth, 1, ":") == 0) {
        return;  // an empty value whose trailing space was trimmed by an editor
    }
    BreakBlock(std::move(line));
}

void ChecksumFileReader::BreakBlock(Line line) {
    // Not a whole block record: it is improper, and this line is read anew.
    Emit({Event::kImproper, block->nameLine, {}, {}});
    block.reset();
    afterBoundary = false;
    Take(std::move(line));
}

void ChecksumFileReader::EndBlock() {
    Block done = std::move(*block);
    block.reset();
    afterBoundary = true;
    std::string& name = done.fullPath.empty() ? done.name : done.fullPath;
    // A NUL would cut the name short where it is opened, naming another file.
    if (done.partial || done.digests.empty() || name.find('\0') != std::string::npos) {
        Emit({Event::kImproper, done.nameLine, {}, {}});
        return;
    }
    Emit({Event::kFile, done.nameLine, {std::move(name), std::move(done.digests)}, {}});
}

void ChecksumFileReader::TakeLine(Line line) {
    if (form != Form::kUnknown) {
        ReadLine(line);
        return;
    }
    const std::string& text = line.text;
    const bool gnuReads = !line.tooLong && parser.Reads(text);
    const bool gnuSkips = text.empty() || text.starts_with('#');
    // Only SFV has ';' comments, but a stray one in a GNU list is as likely: it decides only
    // where no listed file does.
    const bool sfvComment = text.starts_with(';');
    sfvComments = sfvComments || sfvComment;
    const bool sfvReads = !line.tooLong && !sfvComment && ParseSfvLine(text).has_value();
    if (gnuReads && !sfvReads) {
        Decide(Form::kGnu);
        ReadLine(line);
    } else if (sfvReads && !gnuReads && !gnuSkips) {
        Decide(Form::kSfv);
        ReadLine(line);
    } else {
        undecidedBytes += text.size();
        undecided.emplace_back(std::move(line), std::nullopt);
        if (undecided.size() > kMostUndecidedLines || undecidedBytes > kMostUndecidedBytes) {
            DecideUnknown();
        }
    }
}

void ChecksumFileReader::DecideUnknown() {
    Decide(form != Form::kUnknown ? form : sfvComments ? Form::kSfv : Form::kGnu);
}

void ChecksumFileReader::Decide(Form chosen) {
    form = chosen;
    for (auto& [line, item] : undecided) {
        if (item) {
            ready.push_back(std::move(*item));
        } else {
            ReadLine(line);
        }
    }
    undecided.clear();
    undecidedBytes = 0;
}

void ChecksumFileReader::ReadLine(const Line& line) {
    const std::string& text = line.text;
    std::optional<ChecksumLine> parsed;
    if (form == Form::kSfv) {
        // cksfv's comments; blank lines are skipped.
        if (IsBlankLine(text) || text.starts_with(';')) {
            return;
        }
        parsed = line.tooLong ? std::nullopt : ParseSfvLine(text);
    } else {
        if (text.empty() || text.starts_with('#')) {
            return;
        }
        parsed = line.tooLong ? std::nullopt : parser.Parse(text);
    }
    if (!parsed) {
        const bool gnu = form == Form::kGnu && !line.tooLong;
        Emit({Event::kImproper, line.number, {}, gnu ? rizo::UnreadDigest(text) : ""});
        return;
    }
    // Not from an initializer list, which would copy the digest.
    std::vector<ListedDigest> digests;
    digests.push_back({parsed->kind, std::move(parsed->hex), line.number, parsed->orKind});
    Emit({Event::kFile, line.number, {std::move(parsed->name), std::move(digests)}, {}});
}

void ChecksumFileReader::Emit(Item item) {
    if (form == Form::kUnknown) {
        undecided.emplace_back(Line{}, std::move(item));
    } else {
        ready.push_back(std::move(item));
    }
}

}  // namespace rizo
