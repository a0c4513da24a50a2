// SPDX-License-Identifier: MIT
// The lines rizodidiz-cli prints for a hashed file.
#include "cli/digest_lines.h"

#include "cli/cli_batch.h"
#include "cli/digest_names.h"
#include "verify/checksum_name.h"

namespace rizo {

namespace {

// The name as a line of `rule` holds it, and the line's leading mark of an escaped name.
struct LineName {
    std::string prefix;
    std::string name;
};

LineName NameFor(LineRule rule, const std::string& path, bool zero) {
    if (rule != LineRule::kCoreutils) {
        // xxhsum writes names as they are and calls standard input "stdin".
        return {"", path == kStandardInputName ? "stdin" : path};
    }
    // The checkers read a line starting with a backslash as holding an escaped name, so a name
    // with a line break still fits on one line.
    if (!zero && NeedsNameEscape(path)) {
        return {"\\", EscapeName(path)};
    }
    return {"", path};
}

}  // namespace

std::optional<std::string> DigestLines(const std::string& path, const HashSelection& selection,
                                       const FileEntry& entry, const LineForm& form) {
    const char end = form.zero ? '\0' : '\n';
    if (form.layout == LineLayout::kSfv) {
        // SFV has no escapes: a name that a reader would take for another line (a comment, a
        // byte order mark, a split line, trailing blanks lost) cannot be written.
        if (!form.zero && !SfvCanHold(path, entry.crc32)) {
            return std::nullopt;
        }
        return path + " " + entry.crc32 + end;
    }
    const bool alone = ChosenCount(selection) == 1 && form.layout == LineLayout::kStandard;
    const std::string gap = form.binary ? " *" : "  ";
    std::string lines;
    for (const DigestName& digest : kDigestNames) {
        if (!(selection.*digest.fields.chosen)) {
            continue;
        }
        const auto& [prefix, name] = NameFor(digest.rule, path, form.zero);
        const std::string& hex = entry.*digest.fields.text;
        if (alone && digest.rule != LineRule::kXxhsumTagged) {
            lines += prefix + hex + gap + name + end;
        } else {
            lines += prefix + TagName(digest, selection) + " (" + name + ") = " + hex + end;
        }
    }
    return lines;
}

}  // namespace rizo
