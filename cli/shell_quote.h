// SPDX-License-Identifier: MIT
// File names in messages on standard error, quoted as coreutils quotes them.
#pragma once

#include <string>
#include <string_view>

namespace rizo {

// The name as it stands when it can be pasted into a shell as one word (and holds no ':', which
// would blur the message); otherwise in single quotes, with control characters and bytes that
// are no printable character of the current locale as $'\n' or $'\377' escapes, or in double
// quotes when that alone suffices for a name with an apostrophe.
std::string ShellQuoted(std::string_view name);

}  // namespace rizo
