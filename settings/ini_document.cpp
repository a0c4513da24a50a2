// SPDX-License-Identifier: MIT
// Parsing and editing of INI text line by line.
#include "settings/ini_document.h"

#include <algorithm>

namespace rizo {
namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    const size_t last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

// A value in matching quotes reads as what is inside them, as the private-profile functions
// of Windows read it.
std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

bool SameName(std::string_view a, std::string_view b) {
    auto lower = [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](char x, char y) { return lower(x) == lower(y); });
}

// The name of a "[name]" line; nullopt for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
    std::string_view text = Trim(line);
    if (text.empty() || text.front() != '[') {
        return std::nullopt;
    }
    text.remove_prefix(1);
    return Trim(text.substr(0, text.find(']')));
}

bool IsComment(std::string_view line) {
    const std::string_view text = Trim(line);
    return !text.empty() && (text.front() == ';' || text.front() == '#');
}

// The key of a "key=value" line; nullopt for comments and lines without "=".
std::optional<std::string_view> KeyName(std::string_view line) {
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos || IsComment(line)) {
        return std::nullopt;
    }
    return Trim(line.substr(0, equals));
}

// The value part of a key line: after "=" and the blanks that follow it.
std::string_view RawValue(std::string_view line) {
    line.remove_prefix(line.find('=') + 1);
    const size_t start = line.find_first_not_of(kBlanks);
    return start == std::string_view::npos ? line.substr(line.size()) : line.substr(start);
}

}  // namespace

IniDocument::IniDocument(std::string_view text) : text_(text) {
    const Line first = LineAt(0);
    if (first.end < first.next) {
        newLine_ = text_.substr(first.end, first.next - first.end);
    }
    for (size_t pos = 0; pos < text_.size();) {
        const Line line = LineAt(pos);
        if (SectionName(Content(line))) {
            headers_.push_back(pos);
        }
        pos = line.next;
    }
}

// A line ends with LF, CR LF or a CR alone, as editors of each system write it.
IniDocument::Line IniDocument::LineAt(size_t begin) const {
    const size_t end = text_.find_first_of("\r\n", begin);
    if (end == std::string::npos) {
        return {begin, text_.size(), text_.size()};
    }
    const bool crLf = text_.compare(end, 2, "\r\n") == 0;
    return {begin, end, end + (crLf ? 2 : 1)};
}

std::string_view IniDocument::Content(const Line& line) const {
    std::string_view text = std::string_view(text_).substr(line.begin, line.end - line.begin);
    // Editors on Windows may put a byte-order mark before the first section.
    if (line.begin == 0 && text.starts_with(kUtf8Bom)) {
        text.remove_prefix(kUtf8Bom.size());
    }
    return text;
}

std::optional<size_t> IniDocument::FindSection(std::string_view section) const {
    for (size_t i = 0; i < headers_.size(); ++i) {
        const auto name = SectionName(Content(LineAt(headers_[i])));
        if (name && SameName(*name, section)) {
            return i;
        }
    }
    return std::nullopt;
}

size_t IniDocument::SectionEnd(size_t index) const {
    return index + 1 < headers_.size() ? headers_[index + 1] : text_.size();
}

std::optional<IniDocument::Line> IniDocument::FindKey(size_t index, std::string_view key) const {
    for (size_t pos = LineAt(headers_[index]).next, end = SectionEnd(index); pos < end;) {
        const Line line = LineAt(pos);
        const auto name = KeyName(Content(line));
        if (name && SameName(*name, key)) {
            return line;
        }
        pos = line.next;
    }
    return std::nullopt;
}

bool IniDocument::HasSection(std::string_view section) const {
    const auto index = FindSection(section);
    if (!index) {
        return false;
    }
    for (size_t pos = LineAt(headers_[*index]).next, end = SectionEnd(*index); pos < end;) {
        const Line line = LineAt(pos);
        if (KeyName(Content(line))) {
            return true;
        }
        pos = line.next;
    }
    return false;
}

std::string IniDocument::ReadValue(std::string_view section, std::string_view key) const {
    const auto index = FindSection(section);
    const auto line = index ? FindKey(*index, key) : std::nullopt;
    if (!line) {
        return {};
    }
    const std::string_view value = Unquote(Trim(RawValue(Content(*line))));
    return std::string(value.substr(0, kMaxValueLength));
}

void IniDocument::Splice(size_t begin, size_t end, std::string_view replacement) {
    text_.replace(begin, end - begin, replacement);
    for (size_t& header : headers_) {
        if (header > begin || (header == begin && end == begin)) {
            header = header + replacement.size() - (end - begin);
        }
    }
}

void IniDocument::InsertLine(size_t offset, std::string_view line) {
    std::string piece;
    // The last line gets a line break before anything follows it.
    if (offset == text_.size() && offset > 0 && text_.back() != '\n' && text_.back() != '\r') {
        piece = newLine_;
    }
    const size_t lineStart = offset + piece.size();
    piece.append(line).append(newLine_);
    Splice(offset, offset, piece);
    if (SectionName(line)) {
        headers_.insert(std::upper_bound(headers_.begin(), headers_.end(), lineStart), lineStart);
    }
}

void IniDocument::WriteValue(std::string_view section, std::string_view key,
                             std::string_view value) {
    const std::string keyLine = std::string(key) + "=" + std::string(value);
    const auto index = FindSection(section);
    if (!index) {
        InsertLine(text_.size(), "[" + std::string(section) + "]");
        InsertLine(text_.size(), keyLine);
        return;
    }
    if (const auto line = FindKey(*index, key)) {
        // Keep the key as written and the blanks after "="; replace only the value.
        const std::string_view current = RawValue(Content(*line));
        if (Unquote(Trim(current)) != value) {
            Splice(static_cast<size_t>(current.data() - text_.data()), line->end, value);
        }
        return;
    }
    // After the section's last key, so that comments and blank lines before the next section
    // stay in front of it.
    size_t after = LineAt(headers_[*index]).next;
    for (size_t pos = after, end = SectionEnd(*index); pos < end;) {
        const Line line = LineAt(pos);
        if (KeyName(Content(line))) {
            after = line.next;
        }
        pos = line.next;
    }
    InsertLine(after, keyLine);
}

}  // namespace rizo
