// SPDX-License-Identifier: MIT
// INI text held in memory: values read and changed by section and key, every other line kept.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rizo {

// Section and key names match without regard to ASCII case. The first matching section and,
// inside it, the first matching key are the ones read and changed. Lines end with LF, CR LF or
// a lone CR, in any mix; the text is kept byte for byte, so an unchanged
// document gives back its text exactly. Only the text and the offsets of section headers are
// held, so a large file of short lines costs little more memory than its size.
class IniDocument {
public:
    // Values are cut to this many bytes when read.
    static constexpr size_t kMaxValueLength = 254;

    IniDocument() = default;
    explicit IniDocument(std::string_view text);

    // True when the section exists and holds at least one key.
    bool HasSection(std::string_view section) const;
    // The key's value without surrounding blanks and without one pair of matching quotes around
    // it; empty when the key is missing.
    std::string ReadValue(std::string_view section, std::string_view key) const;
    // Changes an existing key in place, or adds the key at the end of its section, or adds the
    // section at the end of the text. A key whose value already reads as `value` is left alone.
    void WriteValue(std::string_view section, std::string_view key, std::string_view value);

    const std::string& Text() const { return text_; }

private:
    // Offsets into the text: the line's content, and where the next line starts.
    struct Line {
        size_t begin;
        size_t end;
        size_t next;
    };

    Line LineAt(size_t begin) const;
    std::string_view Content(const Line& line) const;
    std::optional<size_t> FindSection(std::string_view section) const;
    // Where the section of header `index` ends: at the next header or the end of the text.
    size_t SectionEnd(size_t index) const;
    std::optional<Line> FindKey(size_t index, std::string_view key) const;
    void Splice(size_t begin, size_t end, std::string_view replacement);
    void InsertLine(size_t offset, std::string_view line);

    std::string text_;
    // Offsets of the section header lines, ascending.
    std::vector<size_t> headers_;
    // Line break for added lines: the text's first one, else LF.
    std::string newLine_ = "\n";
};

}  // namespace rizo
