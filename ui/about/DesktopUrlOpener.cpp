// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopUrlOpener.h"

#include <QProcess>
#include <QUrl>

#ifdef _WIN32
#include <QDir>

// clang-format off
#include <windows.h>
#include <shellapi.h>  // after windows.h, whose types it uses
// clang-format on

#include <cstdint>
#endif

namespace brightsum {

DesktopUrlOpener::~DesktopUrlOpener() {
    for (QProcess* process : m_running.findChildren<QProcess*>()) {
        process->disconnect();
        process->kill();
        process->waitForFinished(1000);
    }
}

bool DesktopUrlOpener::idle() const {
    return m_running.findChildren<QProcess*>().isEmpty();
}

#ifdef _WIN32

// Windows hands the address to the program registered for it and says at once whether one
// was found and started.
void DesktopUrlOpener::openUrl(const QUrl& url, Failure failed) {
    const QString target = url.isLocalFile() ? QDir::toNativeSeparators(url.toLocalFile())
                                             : QString::fromLatin1(url.toEncoded());
    const auto result = reinterpret_cast<std::intptr_t>(
        ::ShellExecuteW(nullptr, L"open", reinterpret_cast<const wchar_t*>(target.utf16()), nullptr,
                        nullptr, SW_SHOWNORMAL));
    // Values up to 32 are error codes: no program for the type, a file not found, no memory.
    if (result <= 32 && failed) {
        failed();
    }
}

#else

void DesktopUrlOpener::openUrl(const QUrl& url, Failure failed) {
    auto* process = new QProcess(&m_running);
    process->setProgram(QStringLiteral("xdg-open"));
    process->setArguments({QString::fromLatin1(url.toEncoded())});
    process->setStandardInputFile(QProcess::nullDevice());
    // Whatever the opener says goes where the program's own messages go.
    process->setProcessChannelMode(QProcess::ForwardedChannels);

    // Exactly one of these ends every opener: a process that never started does not finish.
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, failed](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart) {
                             return;  // a crash is reported by finished() as well
                         }
                         process->deleteLater();
                         if (failed) {
                             failed();
                         }
                     });
    QObject::connect(process, &QProcess::finished, process,
                     [process, failed](int exitCode, QProcess::ExitStatus status) {
                         process->deleteLater();
                         if ((status != QProcess::NormalExit || exitCode != 0) && failed) {
                             failed();
                         }
                     });
    process->start();
}

#endif

}  // namespace brightsum
