// Parsing and editing of INI text line by line.
#include "settings/ini_document.h"

#include <algorithm>

namespace rizo {
namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text) {
    size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    size_t last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
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
    std::string_view text = Trim(line);
    return !text.empty() && (text.front() == ';' || text.front() == '#');
}

// The key of a "key=value" line; nullopt for comments and lines without "=".
std::optional<std::string_view> KeyName(std::string_view line) {
    size_t equals = line.find('=');
    if (equals == std::string_view::npos || IsComment(line)) {
        return std::nullopt;
    }
    return Trim(line.substr(0, equals));
}

}  // namespace

IniDocument::IniDocument(std::string_view text) {
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        std::string_view lineBreak = "\n";
        if (end == std::string_view::npos) {
            lineBreak = "";
        } else if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
            lineBreak = "\r\n";
        }
        if (lines_.empty() && !lineBreak.empty()) {
            newLine_ = lineBreak;
        }
        lines_.push_back({std::string(line), std::string(lineBreak)});
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
}

std::string_view IniDocument::Content(size_t index) const {
    std::string_view text = lines_[index].text;
    // Editors on Windows may put a byte-order mark before the first section.
    if (index == 0 && text.starts_with(kUtf8Bom)) {
        text.remove_prefix(kUtf8Bom.size());
    }
    return text;
}

std::optional<size_t> IniDocument::FindSection(std::string_view section) const {
    for (size_t i = 0; i < lines_.size(); ++i) {
        auto name = SectionName(Content(i));
        if (name && SameName(*name, section)) {
            return i;
        }
    }
    return std::nullopt;
}

size_t IniDocument::SectionEnd(size_t header) const {
    size_t i = header + 1;
    while (i < lines_.size() && !SectionName(Content(i))) {
        ++i;
    }
    return i;
}

std::optional<size_t> IniDocument::FindKey(size_t header, std::string_view key) const {
    for (size_t i = header + 1, end = SectionEnd(header); i < end; ++i) {
        auto name = KeyName(Content(i));
        if (name && SameName(*name, key)) {
            return i;
        }
    }
    return std::nullopt;
}

bool IniDocument::HasSection(std::string_view section) const {
    auto header = FindSection(section);
    if (!header) {
        return false;
    }
    for (size_t i = *header + 1, end = SectionEnd(*header); i < end; ++i) {
        if (KeyName(Content(i))) {
            return true;
        }
    }
    return false;
}

std::string IniDocument::ReadValue(std::string_view section, std::string_view key) const {
    auto header = FindSection(section);
    auto line = header ? FindKey(*header, key) : std::nullopt;
    if (!line) {
        return {};
    }
    std::string_view text = Content(*line);
    std::string_view value = Trim(text.substr(text.find('=') + 1));
    return std::string(value.substr(0, kMaxValueLength));
}

void IniDocument::InsertLine(size_t index, std::string text) {
    // A last line without a line break must get one before anything follows it.
    if (index > 0 && lines_[index - 1].lineBreak.empty()) {
        lines_[index - 1].lineBreak = newLine_;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index),
                  Line{std::move(text), newLine_});
}

void IniDocument::WriteValue(std::string_view section, std::string_view key,
                             std::string_view value) {
    std::string keyLine = std::string(key) + "=" + std::string(value);
    auto header = FindSection(section);
    if (!header) {
        InsertLine(lines_.size(), "[" + std::string(section) + "]");
        InsertLine(lines_.size(), std::move(keyLine));
        return;
    }
    if (auto line = FindKey(*header, key)) {
        std::string& text = lines_[*line].text;
        // Keep the key as written and the blanks after "="; replace only the value.
        size_t valueStart = text.find_first_not_of(kBlanks, text.find('=') + 1);
        if (valueStart == std::string::npos) {
            valueStart = text.size();
        }
        if (Trim(std::string_view(text).substr(valueStart)) != value) {
            text = text.substr(0, valueStart) + std::string(value);
        }
        return;
    }
    // After the section's last key, so that comments and blank lines before the next section
    // stay in front of it.
    size_t after = *header + 1;
    for (size_t i = *header + 1, end = SectionEnd(*header); i < end; ++i) {
        if (KeyName(Content(i))) {
            after = i + 1;
        }
    }
    InsertLine(after, std::move(keyLine));
}

std::string IniDocument::Text() const {
    std::string text;
    for (const Line& line : lines_) {
        text += line.text;
        text += line.lineBreak;
    }
    return text;
}

}  // namespace rizo
