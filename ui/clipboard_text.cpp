// Putting exported text on the system clipboard.
#include "ui/clipboard_text.h"

#include <QClipboard>
#include <QGuiApplication>

namespace rizo {

void CopyTextToClipboard(const std::string& text) {
    QGuiApplication::clipboard()->setText(
        QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace rizo
