// SPDX-License-Identifier: GPL-3.0-or-later
#include "GameSession.h"

#include "FileSystem.h"
#include "WindowLayout.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QIcon>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <string>

namespace brightsum {

namespace {

std::filesystem::path toPath(const QString& folder) {
#ifdef _WIN32
    return std::filesystem::path(folder.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(folder).toStdString());
#endif
}

}  // namespace

void GameSession::prepareApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("brightsum"));
    QGuiApplication::setDesktopFileName(QStringLiteral(BRIGHTSUM_APP_ID));
}

void GameSession::prepareWidgets() {
    layout::installFace();
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128}) {
        icon.addFile(QStringLiteral(":/icons/brightsum-%1.png").arg(size), QSize(size, size));
    }
    QApplication::setWindowIcon(icon);
}

std::filesystem::path GameSession::programFolder() {
#ifdef _WIN32
    // The module's own path, wide, so that a folder named in any script is found.
    std::wstring module(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, module.data(), static_cast<DWORD>(module.size()));
        if (length == 0) {
            return toPath(QCoreApplication::applicationDirPath());
        }
        if (length < module.size()) {
            module.resize(length);
            break;
        }
        module.resize(module.size() * 2);  // cut short: try a larger buffer
    }
    return std::filesystem::path(module).parent_path();
#else
    // The kernel's link holds the path as bytes; Qt's applicationDirPath() turns it into text
    // and comes back empty when the folder's name is not valid UTF-8.
    std::string link(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", link.data(), link.size());
        if (length < 0) {
            return toPath(QCoreApplication::applicationDirPath());  // no /proc
        }
        if (static_cast<std::size_t>(length) < link.size()) {
            link.resize(static_cast<std::size_t>(length));
            break;
        }
        link.resize(link.size() * 2);  // cut short: try a larger buffer
    }
    return std::filesystem::path(link).parent_path();
#endif
}

std::filesystem::path GameSession::dataFolder() {
    // Built from the environment's bytes: Qt's text paths mangle a home folder whose name is
    // not valid UTF-8.
#ifdef _WIN32
    return files::userDataFolder("Brightsum");  // as Windows programs name their folders
#else
    return files::userDataFolder("brightsum");
#endif
}

GameSession::GameSession(SoundPort& sound, const std::filesystem::path& programFolder,
                         const std::filesystem::path& dataFolder,
                         const WindowPortFor& windowPortFor)
    : m_pump(m_clock),
      m_dialogs(&m_window),
      m_highScoreWindow(sound),
      m_scoreFile(programFolder, dataFolder),
      m_engine(EnginePorts{windowPortFor ? windowPortFor(m_window) : m_window, m_clock, m_pump,
                           sound, m_dialogs, m_highScoreWindow, m_random},
               m_scoreFile),
      m_help(m_urlOpener, programFolder),
      m_about(m_urlOpener) {
    m_window.attach(m_engine);
    QCoreApplication::instance()->installEventFilter(&m_heldKeys);
    QObject::connect(m_window.mnuHowtoPlay(), &QAction::triggered,
                     [this] { m_help.mnuHowtoPlay_Click(); });
    QObject::connect(m_window.mnuAbout(), &QAction::triggered,
                     [this] { m_about.mnuAbout_Click(); });
}

void GameSession::start() {
    m_engine.Form_Load();
    m_window.show();
}

}  // namespace brightsum
