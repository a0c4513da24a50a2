// SPDX-License-Identifier: MIT
// Which digests are computed and shown, in the program's digest order MD5, SHA1, CRC32, SHA256.
#pragma once

namespace rizo {

struct HashSelection {
    bool md5 = true;
    bool sha1 = false;
    bool crc32 = false;
    bool sha256 = false;
};

}  // namespace rizo
