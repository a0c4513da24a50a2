// SPDX-License-Identifier: MIT
// Opens a web address in the user's browser.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <string>

namespace rizo {

// Opens an address and says whether it worked; the Help commands and the link take one, so tests
// can see what would be opened without starting a browser.
using UrlOpener = std::function<bool(const std::string& address)>;

// The two ways of opening an address, in the order they are tried; tests replace them.
struct UrlOpenAttempts {
    // The desktop's default handler for the address.
    std::function<bool(const QUrl&)> desktop;
    // Starts a program with arguments, not waiting for it.
    std::function<bool(const QString& program, const QStringList& arguments)> launch;

    static UrlOpenAttempts System();
};

namespace ShellUtil {

// Tries the desktop's handler, then the generic browser "x-www-browser" with the address. Returns
// whether one of them took it; callers ignore the answer and nothing is shown on failure. Only
// absolute addresses are passed on, so the text can never be taken for a browser option.
bool OpenUrl(const std::string& address,
             const UrlOpenAttempts& attempts = UrlOpenAttempts::System());

}  // namespace ShellUtil
}  // namespace rizo
