// Digest selection and copy options that shape the exported text of selected rows.
#pragma once

#include <cstdint>

namespace rizo {

struct ExportOptions {
    bool md5 = true;
    bool sha1 = false;
    bool crc32 = false;
    bool sha256 = false;
    bool IncSize = true;
    bool IncDateCreated = true;
    bool IncDateModified = false;
    bool IncFolder = false;
    // 0: labelled blocks; 1: one TAB-separated line per row; any other value: one field per line.
    int32_t DelimiterType = 0;
};

}  // namespace rizo
