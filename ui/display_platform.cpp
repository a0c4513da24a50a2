// SPDX-License-Identifier: MIT
// The displays the window can be shown on, each tried through the library its platform uses.
#include "ui/display_platform.h"

#include <dlfcn.h>

#include <QCoreApplication>
#include <QDir>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace rizo {
namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// A library loaded for the moment, as the platform plugin would load it, so that the program
// needs it nowhere else.
class Library {
public:
    explicit Library(const char* name) : handle(dlopen(name, RTLD_LAZY | RTLD_LOCAL)) {}
    ~Library() {
        if (handle != nullptr) {
            dlclose(handle);
        }
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    template <class Function>
    Function* Find(const char* symbol) const {
        return handle != nullptr ? reinterpret_cast<Function*>(dlsym(handle, symbol)) : nullptr;
    }

private:
    void* handle;
};

bool CompositorAnswers() {
    const Library library("libwayland-client.so.0");
    auto* connect = library.Find<void*(const char*)>("wl_display_connect");
    auto* disconnect = library.Find<void(void*)>("wl_display_disconnect");
    if (connect == nullptr || disconnect == nullptr) {
        return false;
    }
    void* display = connect(nullptr);
    if (display == nullptr) {
        return false;
    }
    disconnect(display);
    return true;
}

// Authorisation included: a server that refuses us is of no more use than none.
bool XServerAnswers() {
    const Library library("libxcb.so.1");
    auto* connect = library.Find<void*(const char*, int*)>("xcb_connect");
    auto* hasError = library.Find<int(void*)>("xcb_connection_has_error");
    auto* disconnect = library.Find<void(void*)>("xcb_disconnect");
    if (connect == nullptr || hasError == nullptr || disconnect == nullptr) {
        return false;
    }
    void* connection = connect(nullptr, nullptr);
    const bool answered = hasError(connection) == 0;
    disconnect(connection);
    return answered;
}

bool WaylandPlatformInstalled() {
    for (const QString& folder : QCoreApplication::libraryPaths()) {
        if (!QDir(folder + QStringLiteral("/platforms"))
                 .entryList({QStringLiteral("libqwayland*")}, QDir::Files)
                 .isEmpty()) {
            return true;
        }
    }
    return false;
}

std::string CheckWayland() {
    const std::string name = Environment("WAYLAND_DISPLAY");
    if (name.empty()) {
        return "Wayland: WAYLAND_DISPLAY is not set";
    }
    // Where the name is no path, the socket lies in XDG_RUNTIME_DIR; the library would complain.
    if (name.front() != '/' && Environment("XDG_RUNTIME_DIR").empty()) {
        return "Wayland: XDG_RUNTIME_DIR is not set, so WAYLAND_DISPLAY=" + name +
               " cannot be found";
    }
    if (!WaylandPlatformInstalled()) {
        return "Wayland: Qt's Wayland platform is not installed (package qt6-wayland)";
    }
    return CompositorAnswers() ? "" : "Wayland: no compositor answers at WAYLAND_DISPLAY=" + name;
}

std::string CheckX11() {
    const std::string name = Environment("DISPLAY");
    if (name.empty()) {
        return "X11: DISPLAY is not set";
    }
    return XServerAnswers() ? "" : "X11: no X server lets us in at DISPLAY=" + name;
}

std::vector<std::string> Split(const std::string& list) {
    std::vector<std::string> entries;
    size_t start = 0;
    while (start <= list.size()) {
        const size_t end = std::min(list.find(';', start), list.size());
        if (end > start) {
            entries.push_back(list.substr(start, end - start));
        }
        start = end + 1;
    }
    return entries;
}

}  // namespace

DisplayChecks SystemDisplayChecks() {
    return {CheckWayland, CheckX11};
}

PlatformChoice ChoosePlatforms(const std::string& requested, const std::string& sessionType,
                               const DisplayChecks& checks) {
    std::vector<std::string> entries = Split(requested);
    if (entries.empty()) {
        entries = sessionType == "x11" ? std::vector<std::string>{"xcb", "wayland"}
                                       : std::vector<std::string>{"wayland", "xcb"};
    }
    PlatformChoice choice;
    for (const std::string& entry : entries) {
        // An entry may carry options after a colon, such as "xcb:nograb".
        const std::string name = entry.substr(0, entry.find(':'));
        const bool wayland = name.starts_with("wayland");
        std::string reason;
        if (wayland || name == "xcb") {
            reason = wayland ? checks.wayland() : checks.x11();
        }
        if (reason.empty()) {
            choice.platforms += (choice.platforms.empty() ? "" : ";") + entry;
        } else {
            choice.reasons += reason + "\n";
        }
    }
    return choice;
}

}  // namespace rizo
