// SPDX-License-Identifier: MIT
// The local names carried by a drop onto the window.
#include "ui/dropped_items.h"

#include <sys/stat.h>

#include <QMimeData>
#include <algorithm>
#include <iterator>
#include <string_view>

#include "filelist/file_uri.h"

namespace rizo {
namespace {

constexpr const char* kChecksumEndings[] = {".md5", ".sha1", ".sha256", ".sha256sum", ".sfv"};

}  // namespace

std::vector<std::string> DroppedNames(const QMimeData& data) {
    const QByteArray list = data.data(QStringLiteral("text/uri-list"));
    return LocalPathsFromUriList(
        std::string_view(list.constData(), static_cast<size_t>(list.size())));
}

bool IsChecksumFile(const std::string& path) {
    const std::string name = path.substr(path.rfind('/') + 1);
    const bool named = name == "MD5SUMS" || name == "SHA1SUMS" || name == "SHA256SUMS" ||
                       std::any_of(std::begin(kChecksumEndings), std::end(kChecksumEndings),
                                   [&name](const char* ending) { return name.ends_with(ending); });
    struct stat info {};
    return named && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace rizo
