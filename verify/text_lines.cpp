// SPDX-License-Identifier: MIT
// The lines of a text file read piece by piece.
#include "verify/text_lines.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace rizo {

namespace {

constexpr std::size_t kPiece = 65536;

}  // namespace

TextLines::Result TextLines::Next(std::string& line) {
    bool skipping = false;
    for (;;) {
        const std::size_t end = text.find('\n', std::max(position, searched));
        if (end != std::string::npos) {
            const bool tooLong = skipping || end - position > kMaxLine;
            if (!tooLong) {
                line.assign(text, position, end - position);
            } else if (!skipping) {
                line.assign(text, position, kKeptOfLongLine);
            }
            position = end + 1;
            searched = position;
            ++lineNumber;
            if (tooLong) {
                return Result::kTooLong;
            }
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            return Result::kLine;
        }
        // An over-long line is dropped as it is read, so memory stays bounded.
        if (text.size() - position > kMaxLine) {
            if (!skipping) {
                line.assign(text, position, kKeptOfLongLine);
            }
            skipping = true;
            text.clear();
            position = 0;
        }
        searched = text.size();
        if (!Fill()) {
            if (readError != 0) {
                return Result::kReadError;
            }
            if (position == text.size() && !skipping) {
                return Result::kEnd;
            }
            // The last line has no line feed.
            text += '\n';
        }
    }
}

bool TextLines::Fill() {
    if (atEnd) {
        return false;
    }
    if (position > 0) {
        text.erase(0, position);
        searched -= std::min(searched, position);
        position = 0;
    }
    char piece[kPiece];
    ssize_t count = 0;
    do {
        count = ::read(input, piece, sizeof piece);
    } while (count < 0 && errno == EINTR);
    if (count < 0) {
        readError = errno;
        atEnd = true;
        return false;
    }
    if (count == 0) {
        atEnd = true;
        if (encoding == Encoding::kUnknown) {
            DetectEncoding();
        }
        // A lone trailing byte of UTF-16 is no character.
        if (!raw.empty() && encoding == Encoding::kUtf8) {
            text += raw;
        }
        raw.clear();
        return text.size() > position;
    }
    Decode(piece, static_cast<std::size_t>(count));
    return true;
}

void TextLines::DetectEncoding() {
    if (raw.starts_with("\xEF\xBB\xBF")) {
        encoding = Encoding::kUtf8;
        raw.erase(0, 3);
    } else if (raw.starts_with("\xFF\xFE")) {
        encoding = Encoding::kUtf16Le;
        raw.erase(0, 2);
    } else if (raw.starts_with("\xFE\xFF")) {
        encoding = Encoding::kUtf16Be;
        raw.erase(0, 2);
    } else {
        encoding = Encoding::kUtf8;
    }
}

void TextLines::Decode(const char* bytes, std::size_t count) {
    raw.append(bytes, count);
    if (encoding == Encoding::kUnknown) {
        if (raw.size() < 3) {
            return;
        }
        DetectEncoding();
    }
    if (encoding == Encoding::kUtf8) {
        text += raw;
        raw.clear();
        return;
    }
    const bool little = encoding == Encoding::kUtf16Le;
    std::size_t i = 0;
    for (; i + 1 < raw.size(); i += 2) {
        const auto first = static_cast<unsigned char>(raw[i]);
        const auto second = static_cast<unsigned char>(raw[i + 1]);
        AppendUtf16(static_cast<uint16_t>(little ? first | second << 8 : first << 8 | second));
    }
    raw.erase(0, i);
}

void TextLines::AppendUtf16(uint16_t unit) {
    constexpr uint32_t kReplacement = 0xFFFD;
    if (unit >= 0xD800 && unit < 0xDC00) {
        if (highSurrogate != 0) {
            AppendCodePoint(kReplacement);
        }
        highSurrogate = unit;
        return;
    }
    if (unit >= 0xDC00 && unit < 0xE000) {
        AppendCodePoint(highSurrogate != 0
                            ? 0x10000 + ((highSurrogate - 0xD800u) << 10) + (unit - 0xDC00u)
                            : kReplacement);
        highSurrogate = 0;
        return;
    }
    if (highSurrogate != 0) {
        AppendCodePoint(kReplacement);
        highSurrogate = 0;
    }
    AppendCodePoint(unit);
}

void TextLines::AppendCodePoint(uint32_t point) {
    const auto byte = [this](uint32_t value) { text += static_cast<char>(value); };
    if (point < 0x80) {
        byte(point);
    } else if (point < 0x800) {
        byte(0xC0 | point >> 6);
        byte(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        byte(0xE0 | point >> 12);
        byte(0x80 | (point >> 6 & 0x3F));
        byte(0x80 | (point & 0x3F));
    } else {
        byte(0xF0 | point >> 18);
        byte(0x80 | (point >> 12 & 0x3F));
        byte(0x80 | (point >> 6 & 0x3F));
        byte(0x80 | (point & 0x3F));
    }
}

}  // namespace rizo
