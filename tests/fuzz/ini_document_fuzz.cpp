// SPDX-License-Identifier: MIT
// Fuzz target of the INI document: any text loads and comes back unchanged, and writing a value
// reads back as that value, also after the text is loaded again, and changes no other line.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "settings/ini_document.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using rizo::IniDocument;

// Names the program uses, one in two spellings, and names it does not use.
constexpr std::string_view kNames[] = {
    "FrameWnd", "OptionGeneral", "HashCRC32", "Cx", "cx", "X", "A", "a b"};
constexpr size_t kNameCount = std::size(kNames);

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

// Each name pair's value, in the order of kNames by section then key.
std::vector<std::string> Values(const IniDocument& document) {
    std::vector<std::string> values;
    for (const std::string_view section : kNames) {
        for (const std::string_view key : kNames) {
            values.push_back(document.ReadValue(section, key));
        }
    }
    return values;
}

// Whether each name is a section that holds keys.
std::vector<bool> Sections(const IniDocument& document) {
    std::vector<bool> sections;
    for (const std::string_view section : kNames) {
        sections.push_back(document.HasSection(section));
    }
    return sections;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 6) {
        return 0;
    }
    // Two bytes choose the section and key, four the value, the rest is the text.
    const std::string_view section = kNames[data[0] % kNameCount];
    const std::string_view key = kNames[data[1] % kNameCount];
    int32_t number = 0;
    std::memcpy(&number, data + 2, sizeof number);
    const std::string value = std::to_string(number);
    const std::string text(reinterpret_cast<const char*>(data + 6), size - 6);

    IniDocument document(text);
    FUZZ_CHECK(document.Text() == text);
    const std::vector<std::string> before = Values(document);
    const std::vector<bool> sectionsBefore = Sections(document);

    document.WriteValue(section, key, value);
    FUZZ_CHECK(document.ReadValue(section, key) == value);
    const IniDocument reloaded(document.Text());
    const std::vector<std::string> after = Values(document);
    FUZZ_CHECK(Values(reloaded) == after);
    FUZZ_CHECK(Sections(reloaded) == Sections(document));

    // Only the written name pair may read otherwise, and only its section may gain keys.
    for (size_t s = 0; s < kNameCount; ++s) {
        const bool written = SameName(kNames[s], section);
        FUZZ_CHECK(Sections(document)[s] == (sectionsBefore[s] || written));
        for (size_t k = 0; k < kNameCount; ++k) {
            FUZZ_CHECK((written && SameName(kNames[k], key)) ||
                       before[s * kNameCount + k] == after[s * kNameCount + k]);
        }
    }

    // The old text survives around one changed or inserted stretch that holds no line break.
    const std::string& saved = document.Text();
    size_t prefix = 0;
    while (prefix < text.size() && prefix < saved.size() && text[prefix] == saved[prefix]) {
        ++prefix;
    }
    size_t suffix = 0;
    while (suffix < text.size() - prefix && suffix < saved.size() - prefix &&
           text[text.size() - 1 - suffix] == saved[saved.size() - 1 - suffix]) {
        ++suffix;
    }
    FUZZ_CHECK(text.substr(prefix, text.size() - prefix - suffix).find('\n') == std::string::npos);

    // Writing what it already holds changes nothing.
    document.WriteValue(section, key, value);
    FUZZ_CHECK(document.Text() == saved);
    return 0;
}
