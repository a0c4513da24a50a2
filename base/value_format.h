// SPDX-License-Identifier: MIT
// Text forms of digests, sizes and file times, shared by the list, the exports and the CLI.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <span>
#include <string>

namespace rizo {

// Two hex digits per byte in the given order, no separators.
std::string FormatDigestHex(std::span<const unsigned char> bytes, bool uppercase);

// The value of a hex digit in either case; -1 for any other character. Inline, so that code
// which only reads text needs no digest library.
constexpr int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Always eight hex digits, leading zeros kept.
std::string FormatCrc32(uint32_t value, bool uppercase);

// "YYYY-MM-DD hh:mm" in local time, seconds cut off; empty when the time cannot be converted.
std::string FormatFileTime(std::time_t time);

// Decimal grouped by "," every three digits: 1234567 -> "1,234,567".
std::string FormatFileSize(uint64_t size);

// Puts `separator` before every group of three characters counted from the right.
std::string GroupThousands(const std::string& digits, const std::string& separator);

}  // namespace rizo
