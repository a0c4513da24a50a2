// SPDX-License-Identifier: MIT
// The digest service of this platform, over OpenSSL libcrypto.
#pragma once

#include <memory>

#include "engine/digest_service.h"

namespace rizo {

std::unique_ptr<DigestService> CreateOpenSslDigestService();

}  // namespace rizo
