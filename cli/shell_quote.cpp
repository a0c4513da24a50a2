// SPDX-License-Identifier: MIT
// File names in messages on standard error, quoted as coreutils quotes them.
#include "cli/shell_quote.h"

#include <cwchar>
#include <cwctype>
#include <vector>

namespace rizo {

namespace {

// One character of the name: a run of bytes that is printable or not as a whole.
struct Piece {
    std::string_view bytes;
    bool printable;
};

std::vector<Piece> Pieces(std::string_view name) {
    std::vector<Piece> pieces;
    std::mbstate_t state{};
    for (std::size_t i = 0; i < name.size();) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (c < 0x80) {
            pieces.push_back({name.substr(i, 1), c >= 0x20 && c < 0x7F});
            ++i;
            continue;
        }
        wchar_t wide = 0;
        const std::size_t length = MB_CUR_MAX == 1
                                       ? static_cast<std::size_t>(-1)
                                       : std::mbrtowc(&wide, &name[i], name.size() - i, &state);
        if (length == static_cast<std::size_t>(-1) || length == static_cast<std::size_t>(-2) ||
            length == 0) {
            state = {};
            pieces.push_back({name.substr(i, 1), false});
            ++i;
            continue;
        }
        if (std::iswprint(static_cast<std::wint_t>(wide)) != 0) {
            pieces.push_back({name.substr(i, length), true});
        } else {
            for (std::size_t k = 0; k < length; ++k) {
                pieces.push_back({name.substr(i + k, 1), false});
            }
        }
        i += length;
    }
    return pieces;
}

bool Among(char c, std::string_view set) {
    return set.find(c) != std::string_view::npos;
}

// Shell characters that make a name unsafe as a word; '#' and '~' only at the start, a brace
// only alone.
bool IsShellSpecial(char c, std::size_t index, std::size_t length) {
    return Among(c, " !\"$&()*;<=>?[\\^`|':") || (index == 0 && Among(c, "#~")) ||
           (length == 1 && Among(c, "{}"));
}

// Characters that need no escape inside double quotes.
bool FitsDoubleQuotes(char c, std::size_t index, std::size_t length) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') ||
           Among(c, "%+,-./:]_@ '") || (index == 0 && Among(c, "#~")) ||
           (length == 1 && Among(c, "{}"));
}

std::string Escape(unsigned char c) {
    switch (c) {
        case '\a':
            return "\\a";
        case '\b':
            return "\\b";
        case '\f':
            return "\\f";
        case '\n':
            return "\\n";
        case '\r':
            return "\\r";
        case '\t':
            return "\\t";
        case '\v':
            return "\\v";
        default:
            return {'\\', static_cast<char>('0' + (c >> 6)), static_cast<char>('0' + (c >> 3 & 7)),
                    static_cast<char>('0' + (c & 7))};
    }
}

std::string SingleQuoted(const std::vector<Piece>& pieces) {
    std::string out = "'";
    bool escaping = false;
    for (const Piece& piece : pieces) {
        const char c = piece.bytes[0];
        if (piece.printable && c == '\'') {
            out += "'\\''";
            escaping = false;
        } else if (piece.printable) {
            if (escaping) {
                out += "''";
                escaping = false;
            }
            out += piece.bytes;
        } else {
            if (!escaping) {
                out += "'$'";
                escaping = true;
            }
            out += Escape(static_cast<unsigned char>(c));
        }
    }
    return out + "'";
}

}  // namespace

std::string ShellQuoted(std::string_view name) {
    const std::vector<Piece> pieces = Pieces(name);
    bool safe = !name.empty();
    bool doubleQuotes = true;
    bool apostrophe = false;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const Piece& piece = pieces[i];
        const bool single = piece.bytes.size() == 1;
        const char c = piece.bytes[0];
        safe = safe && piece.printable && !(single && IsShellSpecial(c, i, pieces.size()));
        doubleQuotes = doubleQuotes && piece.printable &&
                       (!single || static_cast<unsigned char>(c) >= 0x80 ||
                        FitsDoubleQuotes(c, i, pieces.size()));
        apostrophe = apostrophe || c == '\'';
    }
    if (safe) {
        return std::string(name);
    }
    if (apostrophe && doubleQuotes) {
        return "\"" + std::string(name) + "\"";
    }
    return SingleQuoted(pieces);
}

}  // namespace rizo
