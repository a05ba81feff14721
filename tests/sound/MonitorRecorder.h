#pragma once

#include <QProcess>
#include <QString>

namespace brightsum {

// Records what the sound server's null sink plays, through parec on the sink's monitor, into
// a 16-bit mono wave file at 44100 Hz.
class MonitorRecorder {
public:
    explicit MonitorRecorder(QString file);
    ~MonitorRecorder();

    MonitorRecorder(const MonitorRecorder&) = delete;
    MonitorRecorder& operator=(const MonitorRecorder&) = delete;

    // Returns once samples flow into the file, or false when recording did not start.
    bool start();
    // Ends the recording and lets parec finish the file's header.
    bool stop();

    QString errorText();

private:
    QString m_file;
    QProcess m_parec;
};

}  // namespace brightsum
