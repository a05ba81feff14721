// SPDX-License-Identifier: GPL-3.0-or-later
#include "DisplayCheck.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

namespace brightsum {

namespace fs = std::filesystem;

namespace {

// An X server that accepts the connection and then says nothing (a stopped server, a silent
// TCP peer) would hold the program forever; a live one answers in milliseconds.
constexpr std::chrono::seconds kAnswerLimit{5};

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

// Whether the toolkit can load the platform plugin whose file name starts with `prefix`
// ("libqxcb", "libqwayland"): in its own folder or one that QT_PLUGIN_PATH adds. A folder we
// cannot list is no evidence either way.
bool pluginInstalled(const fs::path& platformPlugins, std::string_view prefix) {
    std::vector<fs::path> folders{platformPlugins};
    std::string_view extra = std::getenv("QT_PLUGIN_PATH") ? std::getenv("QT_PLUGIN_PATH") : "";
    while (!extra.empty()) {
        const std::string_view entry = extra.substr(0, extra.find(':'));
        extra.remove_prefix(std::min(extra.size(), entry.size() + 1));
        if (!entry.empty()) {
            folders.push_back(fs::path(entry) / "platforms");
        }
    }
    bool anyListed = false;
    for (const fs::path& folder : folders) {
        std::error_code error;
        for (fs::directory_iterator it(folder, error), end; !error && it != end;
             it.increment(error)) {
            anyListed = true;
            if (it->path().filename().string().starts_with(prefix)) {
                return true;
            }
        }
    }
    return !anyListed;
}

struct X11Answer {
    enum { Answers, Refused, Silent } state;
    std::string reason;  // the server's own words when it refused
};

// Connects as the toolkit will, on a thread of its own so that a server that never answers
// cannot hold the program: the check gives up after kAnswerLimit and leaves the thread to
// end with the program.
X11Answer askX11(const std::string& display) {
    struct Attempt {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        int error = 0;
    };
    const auto attempt = std::make_shared<Attempt>();

    // libxcb writes a server's refusal straight to standard error; catch it, so that the
    // player reads one line from us rather than the server's fragment before it.
    std::FILE* caught = std::tmpfile();
    const int savedError = caught != nullptr ? ::dup(STDERR_FILENO) : -1;
    if (savedError >= 0) {
        ::dup2(::fileno(caught), STDERR_FILENO);
    }

    std::thread([attempt, display] {
        xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
        const int error = xcb_connection_has_error(connection);
        xcb_disconnect(connection);
        {
            std::lock_guard lock(attempt->mutex);
            attempt->finished = true;
            attempt->error = error;
        }
        attempt->done.notify_all();
    }).detach();

    bool finished = false;
    int error = 0;
    {
        std::unique_lock lock(attempt->mutex);
        finished = attempt->done.wait_for(lock, kAnswerLimit, [&] { return attempt->finished; });
        error = attempt->error;
    }
    if (savedError >= 0) {
        ::dup2(savedError, STDERR_FILENO);
        ::close(savedError);
    }
    std::string reason;
    if (caught != nullptr) {
        std::rewind(caught);
        char buffer[256];
        const std::size_t length = std::fread(buffer, 1, sizeof buffer, caught);
        reason.assign(buffer, length);
        std::fclose(caught);
    }
    std::replace_if(
        reason.begin(), reason.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    while (!reason.empty() && reason.back() == ' ') {
        reason.pop_back();
    }

    if (!finished) {
        return {X11Answer::Silent, {}};
    }
    if (error == 0) {
        return {X11Answer::Answers, {}};
    }
    return {reason.empty() ? X11Answer::Silent : X11Answer::Refused, reason};
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

DisplayChoice chooseDisplay(int argc, char** argv, const fs::path& platformPlugins) {
    const std::vector<std::string> platforms = requestedPlatforms(argc, argv);
    // Left to itself Qt picks X11 unless the session says Wayland, and then never falls back
    // to X11: with nothing requested the program chooses, X11 first.
    const bool chosenHere = platforms.empty();
    bool x11 = chosenHere;
    bool wayland = chosenHere;
    for (const std::string& platform : platforms) {
        if (platform == "xcb") {
            x11 = true;
        } else if (platform.starts_with("wayland")) {
            wayland = true;
        } else {
            return {};  // offscreen, vnc, eglfs...: no desktop to look for
        }
    }
    const auto use = [chosenHere](const char* platform) {
        return DisplayChoice{chosenHere ? std::optional<std::string>(platform) : std::nullopt,
                             std::nullopt};
    };

    std::vector<std::string> reasons;
    if (x11) {
        const std::string display = environment("DISPLAY");
        if (display.empty()) {
            reasons.emplace_back("DISPLAY is not set");
        } else {
            const X11Answer answer = askX11(display);
            if (answer.state == X11Answer::Answers) {
                if (pluginInstalled(platformPlugins, "libqxcb")) {
                    return use("xcb");
                }
                reasons.push_back(display + " answers, but Qt's X11 support is not installed");
            } else if (answer.state == X11Answer::Refused) {
                reasons.push_back(display + " refused the connection: " + answer.reason);
            } else {
                reasons.push_back(display + " did not answer");
            }
        }
    }
    if (wayland) {
        // A connection handed down by whoever started us, or a compositor's socket.
        std::string name = environment("WAYLAND_DISPLAY");
        // Asked for by name, Wayland falls back to its default socket, as the toolkit does.
        if (name.empty() && !chosenHere) {
            name = "wayland-0";
        }
        const bool handedDown = !environment("WAYLAND_SOCKET").empty();
        if (handedDown || (!name.empty() && waylandAnswers(name))) {
            if (pluginInstalled(platformPlugins, "libqwayland")) {
                return use("wayland");
            }
            reasons.push_back((handedDown ? std::string("WAYLAND_SOCKET") : name) +
                              " answers, but Qt's Wayland support is not installed");
        } else if (!name.empty()) {
            reasons.push_back(name + " did not answer");
        }
    }

    std::string message =
        "Brightsum needs a graphical desktop: no X11 or Wayland display could be opened (";
    for (std::size_t i = 0; i < reasons.size(); ++i) {
        message += (i == 0 ? "" : "; ") + reasons[i];
    }
    return {std::nullopt, message + ")."};
}

}  // namespace brightsum
