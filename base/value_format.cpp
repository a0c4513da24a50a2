// SPDX-License-Identifier: MIT
// Text forms of digests, sizes and file times.
#include "base/value_format.h"

#include <algorithm>
#include <cstdio>

namespace rizo {

namespace {

constexpr char kLowerHex[] = "0123456789abcdef";
constexpr char kUpperHex[] = "0123456789ABCDEF";

}  // namespace

std::string FormatDigestHex(std::span<const unsigned char> bytes, bool uppercase) {
    const char* hex = uppercase ? kUpperHex : kLowerHex;
    std::string text;
    text.reserve(bytes.size() * 2);
    for (unsigned char byte : bytes) {
        text += hex[byte >> 4];
        text += hex[byte & 0x0F];
    }
    return text;
}

std::string FormatCrc32(uint32_t value, bool uppercase) {
    const char* hex = uppercase ? kUpperHex : kLowerHex;
    std::string text(8, '0');
    for (int i = 7; i >= 0; --i) {
        text[static_cast<std::size_t>(i)] = hex[value & 0x0F];
        value >>= 4;
    }
    return text;
}

std::string FormatFileTime(std::time_t time) {
    std::tm local{};
    if (localtime_r(&time, &local) == nullptr) {
        return {};
    }
    const int year = local.tm_year + 1900;
    if (year < 0 || year > 9999) {
        char text[64];
        std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", year, local.tm_mon + 1,
                      local.tm_mday, local.tm_hour, local.tm_min);
        return text;
    }
    // Digit by digit: a batch of small files formats two times a file, and snprintf took a
    // fifth of the command line's work checking a list of empty files.
    std::string text = "0000-00-00 00:00";
    const auto put = [&text](std::size_t end, int value, int digits) {
        for (; digits > 0; --digits, value /= 10) {
            text[--end] = static_cast<char>('0' + value % 10);
        }
    };
    put(4, year, 4);
    put(7, local.tm_mon + 1, 2);
    put(10, local.tm_mday, 2);
    put(13, local.tm_hour, 2);
    put(16, local.tm_min, 2);
    return text;
}

std::string FormatFileSize(uint64_t size) {
    return GroupThousands(std::to_string(size), ",");
}

std::string GroupThousands(const std::string& digits, const std::string& separator) {
    std::string reversed;
    reversed.reserve(digits.size() + digits.size() / 3 * separator.size());
    std::size_t count = 0;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it, ++count) {
        if (count > 0 && count % 3 == 0) {
            reversed.append(separator.rbegin(), separator.rend());
        }
        reversed += *it;
    }
    std::reverse(reversed.begin(), reversed.end());
    return reversed;
}

}  // namespace rizo
