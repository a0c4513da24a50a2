// SPDX-License-Identifier: MIT
// The lines of a text file read piece by piece: UTF-8 (with or without a byte order mark) or
// UTF-16 with a byte order mark, LF or CR LF line ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace rizo {

class TextLines {
public:
    // The longest line held. A listed name may run far past the platform's path limit and is
    // still reported as a file that cannot be opened, as coreutils reports it; a longer line is
    // reported with its start alone, so memory stays bounded.
    static constexpr std::size_t kMaxLine = std::size_t{16} << 20;
    // How much of a longer line's start is kept: enough to tell a comment.
    static constexpr std::size_t kKeptOfLongLine = 256;

    enum class Result { kLine, kTooLong, kEnd, kReadError };

    // Reads from `fd`, which stays open and owned by the caller.
    explicit TextLines(int fd) : input(fd) {}

    // The next line without its LF and one CR before it; UTF-16 text comes as UTF-8. With
    // kTooLong, `line` holds the line's start.
    Result Next(std::string& line);
    // 1-based number of the line last returned.
    uint64_t LineNumber() const { return lineNumber; }
    // errno of a failed read.
    int ReadError() const { return readError; }

private:
    enum class Encoding { kUnknown, kUtf8, kUtf16Le, kUtf16Be };

    // Appends the next piece of the file, decoded, to `text`; false at the end or on an error.
    bool Fill();
    void Decode(const char* bytes, std::size_t count);
    void DetectEncoding();
    void AppendUtf16(uint16_t unit);
    void AppendCodePoint(uint32_t point);

    int input;
    Encoding encoding = Encoding::kUnknown;
    // Bytes read but not decoded yet: the start before the encoding is known, an odd byte of
    // UTF-16.
    std::string raw;
    uint16_t highSurrogate = 0;
    std::string text;
    std::size_t position = 0;
    // Where the search for the line's end goes on: bytes before it hold no LF.
    std::size_t searched = 0;
    bool atEnd = false;
    int readError = 0;
    uint64_t lineNumber = 0;
};

}  // namespace rizo
