// SPDX-License-Identifier: GPL-3.0-or-later
#include "DisplayCheck.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

namespace brightsum {

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The platforms the toolkit is asked for, as Qt reads them: the -platform argument, else
// QT_QPA_PLATFORM; a list separated by ';', each name possibly followed by ":options".
std::vector<std::string> requestedPlatforms(int argc, char** argv) {
    std::string requested = environment("QT_QPA_PLATFORM");
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) {
            requested = argv[i + 1];
        }
    }
    std::vector<std::string> platforms;
    std::string_view rest = requested;
    while (!rest.empty()) {
        const std::string_view entry = rest.substr(0, rest.find(';'));
        rest.remove_prefix(std::min(rest.size(), entry.size() + 1));
        if (const std::string_view name = entry.substr(0, entry.find(':')); !name.empty()) {
            platforms.emplace_back(name);
        }
    }
    return platforms;
}

bool x11Answers(const std::string& display) {
    xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
    const bool answers = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return answers;
}

// A compositor answers when its socket accepts a connection; the name is relative to
// XDG_RUNTIME_DIR unless it is a path.
bool waylandAnswers(const std::string& name) {
    std::string path = name;
    if (path.front() != '/') {
        const std::string runtime = environment("XDG_RUNTIME_DIR");
        if (runtime.empty()) {
            return false;
        }
        path = runtime + '/' + name;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0) {
        return false;
    }
    const bool answers =
        ::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(socket);
    return answers;
}

}  // namespace

std::optional<std::string> missingDisplay(int argc, char** argv) {
    const std::vector<std::string> platforms = requestedPlatforms(argc, argv);
    // Left to itself Qt picks X11 or Wayland, whichever the session offers.
    bool x11 = platforms.empty();
    bool wayland = platforms.empty();
    for (const std::string& platform : platforms) {
        if (platform == "xcb") {
            x11 = true;
        } else if (platform.rfind("wayland", 0) == 0) {
            wayland = true;
        } else {
            return std::nullopt;  // offscreen, vnc, eglfs...: no desktop to look for
        }
    }

    std::vector<std::string> reasons;
    if (x11) {
        const std::string display = environment("DISPLAY");
        if (display.empty()) {
            reasons.emplace_back("DISPLAY is not set");
        } else if (x11Answers(display)) {
            return std::nullopt;
        } else {
            reasons.push_back(display + " did not answer");
        }
    }
    if (wayland) {
        if (!environment("WAYLAND_SOCKET").empty()) {
            return std::nullopt;  // a connection handed down by whoever started us
        }
        std::string name = environment("WAYLAND_DISPLAY");
        // Asked for by name, Wayland falls back to its default socket, as the toolkit does.
        if (name.empty() && !platforms.empty()) {
            name = "wayland-0";
        }
        if (!name.empty()) {
            if (waylandAnswers(name)) {
                return std::nullopt;
            }
            reasons.push_back(name + " did not answer");
        }
    }

    std::string message =
        "Brightsum needs a graphical desktop: no X11 or Wayland display could be opened (";
    for (std::size_t i = 0; i < reasons.size(); ++i) {
        message += (i == 0 ? "" : "; ") + reasons[i];
    }
    return message + ").";
}

}  // namespace brightsum
