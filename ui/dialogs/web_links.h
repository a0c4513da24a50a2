// SPDX-License-Identifier: MIT
// The maker's web pages that the Help menu and the About dialog open.
#pragma once

namespace rizo::WebLinks {

inline constexpr const char* kHelpIndex = "https://www.dodevovaze.com/rizodidiz/help/index.html";
inline constexpr const char* kMakerHome = "https://www.dodevovaze.com/";
inline constexpr const char* kSupport = "https://www.dodevovaze.com/rizodidiz/support/";

}  // namespace rizo::WebLinks
