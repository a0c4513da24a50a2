// SPDX-License-Identifier: MIT
// The digest service of this platform, over OpenSSL libcrypto, libb2 and libxxhash.
#pragma once

#include <memory>
#include <string>

#include "engine/digest_service.h"

namespace rizo {

std::unique_ptr<DigestService> CreateOpenSslDigestService();

// The version of the libcrypto loaded at run time, such as "3.0.11".
std::string OpenSslVersion();

}  // namespace rizo
