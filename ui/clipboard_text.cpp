// SPDX-License-Identifier: MIT
// Putting exported text on the system clipboard.
#include "ui/clipboard_text.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QStringDecoder>

namespace rizo {

void CopyTextToClipboard(const std::string& text) {
    const QByteArrayView bytes(text.data(), static_cast<qsizetype>(text.size()));
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString unicode = utf8.decode(bytes);
    auto* data = new QMimeData;
    if (utf8.hasError()) {
        data->setData(QStringLiteral("text/plain;charset=utf-8"), unicode.toUtf8());
        data->setData(QStringLiteral("text/plain"), bytes.toByteArray());
    } else {
        data->setText(unicode);
    }
    QGuiApplication::clipboard()->setMimeData(data);
}

}  // namespace rizo
