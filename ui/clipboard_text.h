// Putting exported text on the system clipboard.
#pragma once

#include <string>

namespace rizo {

// Replaces the clipboard's contents with `text` as one plain-text item.
void CopyTextToClipboard(const std::string& text);

}  // namespace rizo
