#include "MonitorRecorder.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>

#include <csignal>
#include <utility>

namespace brightsum {

namespace {

constexpr char kMonitor[] = "nullsink.monitor";
// A header and a few milliseconds of samples: proof that the monitor delivers.
constexpr qint64 kFlowingBytes = 44 + 2 * 441;

}  // namespace

MonitorRecorder::MonitorRecorder(QString file) : m_file(std::move(file)) {}

MonitorRecorder::~MonitorRecorder() {
    stop();
}

bool MonitorRecorder::start() {
    // A 20 ms latency keeps the recording close to what is played at each moment.
    m_parec.start("parec", {"--latency-msec=20", "-d", kMonitor, "--format=s16le", "--rate=44100",
                            "--channels=1", "--file-format=wav", m_file});
    if (!m_parec.waitForStarted(5000)) {
        return false;
    }
    const QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired()) {
        if (m_parec.state() != QProcess::Running) {
            return false;
        }
        if (QFileInfo(m_file).size() >= kFlowingBytes) {
            return true;
        }
        QThread::msleep(5);
    }
    return false;
}

bool MonitorRecorder::stop() {
    if (m_parec.state() == QProcess::NotRunning) {
        return m_parec.exitStatus() == QProcess::NormalExit;
    }
    // parec writes the final sizes into the header when interrupted.
    ::kill(static_cast<pid_t>(m_parec.processId()), SIGINT);
    if (!m_parec.waitForFinished(5000)) {
        m_parec.kill();
        m_parec.waitForFinished(1000);
        return false;
    }
    return m_parec.exitStatus() == QProcess::NormalExit;
}

QString MonitorRecorder::errorText() {
    return QString::fromLocal8Bit(m_parec.readAllStandardError());
}

}  // namespace brightsum
