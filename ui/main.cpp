// Program entry: one independent main window per start; exit code 1 once it has closed.
#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "ui/images.h"
#include "ui/main_frame.h"

namespace {

// Qt aborts when it cannot reach a display, so a missing one is told plainly beforehand.
bool DisplayAvailable() {
    return std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr ||
           std::getenv("QT_QPA_PLATFORM") != nullptr;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!DisplayAvailable()) {
        std::fputs(
            "rizodidiz: no display is available (DISPLAY is not set), so the window cannot be "
            "created.\nRun it on a desktop, or under a virtual display:\n"
            "  xvfb-run -s '-screen 0 1280x800x24' rizodidiz\n",
            stderr);
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Rizodidiz"));
    QApplication::setWindowIcon(rizo::ApplicationIcon());
    rizo::MainFrame frame;
    frame.show();
    QApplication::exec();
    return 1;
}
