// SPDX-License-Identifier: MIT
// Putting exported text on the system clipboard.
#pragma once

#include <string>

namespace rizo {

// Replaces the clipboard's contents with `text` as one plain-text item. Text that is not valid
// UTF-8 (a file name in another encoding) is offered twice: as UTF-8 for programs that read
// Unicode text, and as its own bytes under text/plain, so that a paste gives what Save writes.
void CopyTextToClipboard(const std::string& text);

}  // namespace rizo
