// The local names carried by a drop onto the window.
#include "ui/dropped_items.h"

#include <QMimeData>
#include <string_view>

#include "filelist/file_uri.h"

namespace rizo {

std::vector<std::string> DroppedNames(const QMimeData& data) {
    const QByteArray list = data.data(QStringLiteral("text/uri-list"));
    return LocalPathsFromUriList(
        std::string_view(list.constData(), static_cast<size_t>(list.size())));
}

}  // namespace rizo
