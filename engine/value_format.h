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

// Always eight hex digits, leading zeros kept.
std::string FormatCrc32(uint32_t value, bool uppercase);

// "YYYY-MM-DD hh:mm" in local time, seconds cut off; empty when the time cannot be converted.
std::string FormatFileTime(std::time_t time);

// Decimal grouped by "," every three digits: 1234567 -> "1,234,567".
std::string FormatFileSize(uint64_t size);

// Puts `separator` before every group of three characters counted from the right.
std::string GroupThousands(const std::string& digits, const std::string& separator);

}  // namespace rizo
