// INI text held in memory: values read and changed by section and key, every other line kept.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rizo {

// Section and key names match without regard to ASCII case. The first matching section and,
// inside it, the first matching key are the ones read and changed. Lines are kept byte for byte
// with their own line breaks (LF or CR LF), so an unchanged document gives back its text exactly.
class IniDocument {
public:
    // Values are cut to this many bytes when read.
    static constexpr size_t kMaxValueLength = 254;

    IniDocument() = default;
    explicit IniDocument(std::string_view text);

    // True when the section exists and holds at least one key.
    bool HasSection(std::string_view section) const;
    // The key's value without surrounding blanks; empty when the key is missing.
    std::string ReadValue(std::string_view section, std::string_view key) const;
    // Changes an existing key in place, or adds the key at the end of its section, or adds the
    // section at the end of the text.
    void WriteValue(std::string_view section, std::string_view key, std::string_view value);

    std::string Text() const;

private:
    struct Line {
        std::string text;
        std::string lineBreak;
    };

    std::string_view Content(size_t index) const;
    std::optional<size_t> FindSection(std::string_view section) const;
    // One past the last line belonging to the section that starts at `header`.
    size_t SectionEnd(size_t header) const;
    std::optional<size_t> FindKey(size_t header, std::string_view key) const;
    void InsertLine(size_t index, std::string text);

    std::vector<Line> lines_;
    // Line break for added lines: the text's first one, else the platform's.
    std::string newLine_ = "\n";
};

}  // namespace rizo
