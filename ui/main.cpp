// SPDX-License-Identifier: MIT
// Program entry: one independent main window per start; exit code 1 once it has closed.
#include <sys/stat.h>

#include <QApplication>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "res/version.h"
#include "ui/display_platform.h"
#include "ui/images.h"
#include "ui/main_frame.h"
#include "ui/window_arguments.h"

namespace {

// Qt aborts the program when none of the platforms it tries can start, so the displays are tried
// first: Qt is given only those that answer, and with none the user is told plainly and the program
// ends with exit code 0, as when no window could be created.
bool ChooseDisplay(const std::string& platformOption) {
    const char* requested = std::getenv("QT_QPA_PLATFORM");
    const char* session = std::getenv("XDG_SESSION_TYPE");
    const std::string wanted = !platformOption.empty() ? platformOption
                               : requested != nullptr  ? requested
                                                       : "";
    const rizo::PlatformChoice choice = rizo::ChoosePlatforms(
        wanted, session != nullptr ? session : "", rizo::SystemDisplayChecks());
    if (choice.platforms.empty()) {
        std::fprintf(stderr,
                     "rizodidiz: no display can be opened, so the window cannot be created.\n%s"
                     "Run it on a desktop, or under a virtual display:\n"
                     "  xvfb-run -a -s '-screen 0 1280x800x24' rizodidiz\n",
                     choice.reasons.c_str());
        return false;
    }
    // The -platform option overrides the environment in Qt.
    if (platformOption.empty()) {
        setenv("QT_QPA_PLATFORM", choice.platforms.c_str(), 1);
    }
    return true;
}

// A drop passes over names that do not exist; one typed on a command line is worth a word.
void ReportMissing(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0) {
            std::fprintf(stderr, "rizodidiz: %s: %s\n", path.c_str(), std::strerror(errno));
        }
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    // Read before QApplication, which needs a display: --help and --version work without one.
    const rizo::WindowArguments arguments =
        rizo::ParseWindowArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!arguments.error.empty()) {
        std::fprintf(stderr,
                     "rizodidiz: %s\nUsage: rizodidiz [OPTION]... [FILE|FOLDER]...\n"
                     "Try 'rizodidiz --help'.\n",
                     arguments.error.c_str());
        return 2;
    }
    if (arguments.help || arguments.version) {
        std::fputs(arguments.help ? rizo::kWindowUsageText : rizo::kWindowVersionText, stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (!ChooseDisplay(arguments.platform)) {
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Rizodidiz"));
    QApplication::setApplicationVersion(QStringLiteral(RIZO_VERSION));
    // Lets the desktop match the window with its desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.dodevovaze.Rizodidiz"));
    QApplication::setWindowIcon(rizo::ApplicationIcon());
    rizo::MainFrame frame;
    frame.show();
    if (!arguments.paths.empty()) {
        ReportMissing(arguments.paths);
        if (arguments.verify) {
            frame.VerifyFiles(arguments.paths, {});
        } else {
            frame.DropFiles(arguments.paths);
        }
    }
    QApplication::exec();
    return 1;
}
