#include "GameSession.h"

#include "WindowLayout.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QStandardPaths>

namespace brightsum {

namespace {

std::filesystem::path toPath(const QString& folder) {
    return std::filesystem::path(QFile::encodeName(folder).toStdString());
}

}  // namespace

void GameSession::prepareApplication() {
    // Names the user's data folder (~/.local/share/brightsum).
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
    return toPath(QCoreApplication::applicationDirPath());
}

std::filesystem::path GameSession::dataFolder() {
    return toPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
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
      m_help(m_urlOpener, QFile::decodeName(programFolder.c_str())),
      m_about(m_urlOpener) {
    m_window.attach(m_engine);
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
