// SPDX-License-Identifier: MIT
// Reads a checksum file one listed file at a time.
#include "verify/checksum_file_reader.h"

#include <algorithm>

namespace rizo {

namespace {

constexpr std::size_t kRuleLength = 50;
// Block records label each value: "%-15s: %s".
constexpr std::size_t kLabelWidth = 15;

bool IsRule(const std::string& text) {
    return text.size() == kRuleLength &&
           std::all_of(text.begin(), text.end(), [](char c) { return c == '-'; });
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

}  // namespace

ChecksumFileReader::Event ChecksumFileReader::Next() {
    Item item = lookahead ? std::move(*lookahead) : NextItem();
    lookahead.reset();
    if (item.event == Event::kImproper) {
        improperLine = item.line;
    }
    if (item.event != Event::kFile) {
        return item.event;
    }
    file = std::move(item.file);
    for (;;) {
        Item next = NextItem();
        if (next.event != Event::kFile || next.file.name != file.name) {
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
                Take(text, lines.LineNumber());
                break;
            case TextLines::Result::kTooLong:
                if (block) {
                    EndBlock();
                }
                DropHeld();
                PushImproper(lines.LineNumber());
                break;
            case TextLines::Result::kEnd:
                if (block) {
                    PushImproper(block->nameLine);
                    block.reset();
                }
                DropHeld();
                ready.push_back({Event::kEnd, 0, {}});
                break;
            case TextLines::Result::kReadError:
                return {Event::kReadError, 0, {}};
        }
    }
    Item item = std::move(ready.front());
    // The end stays, so every later call reports it again.
    if (item.event != Event::kEnd) {
        ready.pop_front();
    }
    return item;
}

void ChecksumFileReader::Take(const std::string& text, uint64_t line) {
    if (block) {
        TakeBlockLine(text, line);
        return;
    }
    if (IsRule(text) && held) {
        block = Block{std::move(held->first), held->second, {}, {}};
        held.reset();
        return;
    }
    DropHeld();
    if (text.empty() || text[0] == '#' || text[0] == ';') {
        return;
    }
    if (std::optional<ChecksumLine> parsed = parser.Parse(text)) {
        ready.push_back(
            {Event::kFile,
             line,
             {std::move(parsed->name), {{parsed->kind, std::move(parsed->hex), line}}}});
        return;
    }
    held.emplace(text, line);
}

void ChecksumFileReader::TakeBlockLine(const std::string& text, uint64_t line) {
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
                block->fullPath = value;
            }
            return;
        }
        if (IsHex(value, HexLength(*kind))) {
            block->digests.push_back({*kind, LowerHex(value), line});
            return;
        }
        // A digest switched on after its row was hashed is listed empty.
        if (value.empty()) {
            return;
        }
    } else if (text.size() == kLabelWidth + 1 && text.compare(kLabelWidth, 1, ":") == 0) {
        return;  // an empty value whose trailing space was trimmed by an editor
    }
    // Not a block record after all: its first line fits no form, and this line is read anew.
    PushImproper(block->nameLine);
    block.reset();
    Take(text, line);
}

void ChecksumFileReader::EndBlock() {
    Block done = std::move(*block);
    block.reset();
    std::string& name = done.fullPath.empty() ? done.name : done.fullPath;
    // A NUL would cut the name short where it is opened, naming another file.
    if (done.digests.empty() || name.find('\0') != std::string::npos) {
        PushImproper(done.nameLine);
        return;
    }
    ready.push_back({Event::kFile, done.nameLine, {std::move(name), std::move(done.digests)}});
}

void ChecksumFileReader::DropHeld() {
    if (held) {
        PushImproper(held->second);
        held.reset();
    }
}

void ChecksumFileReader::PushImproper(uint64_t line) {
    ready.push_back({Event::kImproper, line, {}});
}

}  // namespace rizo
