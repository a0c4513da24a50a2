// SPDX-License-Identifier: MIT
// Which digests are computed. The window shows the first four, in the program's digest order MD5,
// SHA1, CRC32, SHA256; the others serve the command line and verification.
#pragma once

namespace rizo {

struct HashSelection {
    bool md5 = true;
    bool sha1 = false;
    bool crc32 = false;
    bool sha256 = false;
    bool sha224 = false;
    bool sha384 = false;
    bool sha512 = false;
    bool blake2b = false;
    // BLAKE2b's digest length in bits, 8 to 512 in steps of 8 as `b2sum -l` takes it: the length
    // is part of the digest's starting state, so each length is a digest of its own.
    int blake2bBits = 512;
    bool xxh64 = false;
    bool xxh3 = false;  // XXH3's 64-bit form
    bool xxh128 = false;
};

}  // namespace rizo
