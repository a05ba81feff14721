#include "GameSession.h"

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
}

void GameSession::setApplicationIcon() {
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/brightsum-16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/icons/brightsum-32.png"), QSize(32, 32));
    QApplication::setWindowIcon(icon);
}

std::filesystem::path GameSession::programFolder() {
    return toPath(QCoreApplication::applicationDirPath());
}

std::filesystem::path GameSession::dataFolder() {
    return toPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

GameSession::GameSession(SoundPort& sound, const std::filesystem::path& programFolder,
                         const std::filesystem::path& dataFolder)
    : m_pump(m_clock),
      m_dialogs(&m_window),
      m_highScoreWindow(sound),
      m_scoreFile(programFolder, dataFolder),
      m_engine(
          EnginePorts{m_window, m_clock, m_pump, sound, m_dialogs, m_highScoreWindow, m_random},
          m_scoreFile) {
    m_window.attach(m_engine);
    // The help page and the About window are wired here, to m_window.mnuHowtoPlay() and
    // m_window.mnuAbout(); until then the two entries do nothing.
}

void GameSession::start() {
    m_engine.Form_Load();
    m_window.show();
}

}  // namespace brightsum
