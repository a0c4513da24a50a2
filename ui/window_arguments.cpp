// SPDX-License-Identifier: MIT
// The window program's command line.
#include "ui/window_arguments.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <span>
#include <string_view>

#include "res/version.h"

namespace rizo {

const char kWindowUsageText[] =
    "Usage: rizodidiz [OPTION]... [FILE|FOLDER]...\n"
    "Open the Rizodidiz window and hash each FILE and every file under each FOLDER at once,\n"
    "as if they had been dropped on the window.\n"
    "\n"
    "  --verify    the FILEs are checksum files: check the files they list, as\n"
    "              File > Verify Checksum File... does\n"
    "  -h, --help  show this text\n"
    "  --version   show the program's version\n"
    "  --          the arguments that follow are files and folders\n"
    "\n"
    "Qt's own options, such as -style NAME or -platform NAME, are taken as well.\n"
    "\n"
    "Exit status: 1 once the window has been closed; 0 when no window could be created;\n"
    "2 on a usage error.\n";

const char kWindowVersionText[] = "rizodidiz (Rizodidiz) " RIZO_VERSION
                                  "\n"
                                  "Copyright (C) 2026 Dodevovaze\n" RIZO_LICENSE_LINE;

namespace {

// The options QApplication takes out of the command line itself.
constexpr std::array<std::string_view, 12> kQtValueOptions = {
    "style",         "stylesheet", "platform",        "platformpluginpath",
    "platformtheme", "plugin",     "qwindowgeometry", "qwindowicon",
    "qwindowtitle",  "session",    "display",         "geometry"};
constexpr std::array<std::string_view, 5> kQtFlagOptions = {"reverse", "widgetcount", "nograb",
                                                            "dograb", "sync"};

bool Contains(std::span<const std::string_view> names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// A Qt option's name, without its dashes and any "=VALUE".
std::string_view QtOptionName(std::string_view argument) {
    argument.remove_prefix(argument.starts_with("--") ? 2 : 1);
    return argument.substr(0, argument.find('='));
}

// How many arguments a Qt option takes up, the option itself included; 0 for no Qt option. Qt
// accepts one dash or two, and a value after "=" or in the next argument.
size_t QtOptionLength(std::string_view argument, bool valueFollows) {
    const std::string_view name = QtOptionName(argument);
    const size_t equals = argument.find('=');
    if (Contains(kQtValueOptions, name)) {
        return equals == std::string_view::npos && valueFollows ? 2 : 1;
    }
    return equals == std::string_view::npos && Contains(kQtFlagOptions, name) ? 1 : 0;
}

// A path as a drop names it: absolute, without "." and ".." steps.
std::string DropPath(const std::string& argument) {
    std::error_code failed;
    const std::filesystem::path absolute = std::filesystem::absolute(argument, failed);
    return failed ? argument : absolute.lexically_normal().native();
}

}  // namespace

WindowArguments ParseWindowArguments(const std::vector<std::string>& arguments) {
    WindowArguments parsed;
    bool pathsOnly = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (pathsOnly || argument.size() < 2 || argument[0] != '-') {
            parsed.paths.push_back(DropPath(argument));
        } else if (argument == "--") {
            pathsOnly = true;
        } else if (argument == "-h" || argument == "--help") {
            parsed.help = true;
        } else if (argument == "--version") {
            parsed.version = true;
        } else if (argument == "--verify") {
            parsed.verify = true;
        } else if (const size_t length = QtOptionLength(argument, i + 1 < arguments.size())) {
            if (QtOptionName(argument) == "platform") {
                const size_t equals = argument.find('=');
                parsed.platform = length == 2                   ? arguments[i + 1]
                                  : equals == std::string::npos ? ""
                                                                : argument.substr(equals + 1);
            }
            i += length - 1;
        } else {
            parsed.error = "unknown option '" + argument + "'";
            return parsed;
        }
    }
    return parsed;
}

}  // namespace rizo
