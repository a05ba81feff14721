// The cues through libcanberra on a real sound server: what the server's null sink plays is
// recorded and measured. These are real-time measurements of the sound path, so the bounds
// are generous.

#include "CanberraSoundPlayer.h"
#include "MonitorRecorder.h"
#include "WaveFileInfo.h"
#include "WaveSamples.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <csignal>
#include <optional>
#include <thread>

using namespace brightsum;

namespace {

const std::filesystem::path kProgramFolder = BRIGHTSUM_PROGRAM_DIR;

double lengthOf(const std::string& file) {
    const auto info = WaveFileInfo::read(kProgramFolder / file);
    return info ? info->duration().count() / 1e6 : 0.0;
}

double audibleLengthOf(const std::string& file) {
    const auto wave = WaveSamples::read(kProgramFolder / file);
    return wave ? wave->audibleSeconds() : 0.0;
}

// Whether a recording holds the whole of a cue. The null sink mixes a new stream in at once by
// rewinding, but what it already handed to its monitor stays as it was, so the recording
// misses up to one 20 ms block at the start of each cue.
bool heardWhole(const WaveSamples& heard, double audible) {
    const double seconds = heard.audibleSeconds();
    return seconds >= 0.95 * audible - 0.030 && seconds < audible + 0.050;
}

double secondsSince(const QElapsedTimer& timer) {
    return timer.nsecsElapsed() / 1e9;
}

// Sets environment variables for one test and puts the old values back afterwards.
class EnvironmentOverride {
public:
    void set(const char* name, const QByteArray& value) {
        m_saved.push_back({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
        qputenv(name, value);
    }
    ~EnvironmentOverride() {
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
            if (it->wasSet) {
                qputenv(it->name, it->value);
            } else {
                qunsetenv(it->name);
            }
        }
    }

private:
    struct Saved {
        const char* name;
        QByteArray value;
        bool wasSet;
    };
    std::vector<Saved> m_saved;
};

QByteArray wave24Bit() {
    // A valid wave file whose 24-bit samples libcanberra does not play.
    QByteArray b("RIFF");
    const auto le = [&b](quint32 v, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            b += char((v >> (8 * i)) & 0xFF);
        }
    };
    const int dataBytes = 3 * 4410;
    le(36 + dataBytes, 4);
    b += "WAVEfmt ";
    le(16, 4);
    le(1, 2);
    le(1, 2);
    le(44100, 4);
    le(44100 * 3, 4);
    le(3, 2);
    le(24, 2);
    b += "data";
    le(dataBytes, 4);
    for (int i = 0; i < 4410; ++i) {
        le(i % 100 < 50 ? 0x200000 : 0xE00000, 3);
    }
    return b;
}

}  // namespace

#define REQUIRE_NULL_SINK()                  \
    do {                                     \
        if (!m_skipReason.isEmpty()) {       \
            QSKIP(qPrintable(m_skipReason)); \
        }                                    \
    } while (false)

class TestRealSound : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void waitedCueReturnsOnceItHasPlayedOut_data();
    void waitedCueReturnsOnceItHasPlayedOut();
    void unwaitedCueReturnsLongBeforeItsSoundEnds_data();
    void unwaitedCueReturnsLongBeforeItsSoundEnds();
    void newerCueCutsTheOlderShort();
    void unplayableFileSoundsTheAlertInstead_data();
    void unplayableFileSoundsTheAlertInstead();
    void withoutAServerACueReturnsAtOnce_data();
    void withoutAServerACueReturnsAtOnce();
    void stalledServerHoldsAWaitedCueOneSecondPastItsLengthAtMost();

private:
    std::optional<WaveSamples> stopAndRead(MonitorRecorder& recorder, const QString& file);

    QString m_skipReason;
    QProcess m_lowLatencyReader;
    QTemporaryDir m_scratch;
};

void TestRealSound::initTestCase() {
    QVERIFY(m_scratch.isValid());
    if (qEnvironmentVariableIsEmpty("PULSE_SERVER")) {
        m_skipReason =
            "PULSE_SERVER is not set: these tests need a PulseAudio server with a null sink "
            "named nullsink (scripts/test.sh starts one)";
        return;
    }
    QProcess pactl;
    pactl.start("pactl", {"list", "short", "sinks"});
    if (!pactl.waitForFinished(5000) || !pactl.readAllStandardOutput().contains("nullsink")) {
        m_skipReason = "the server at PULSE_SERVER has no sink named nullsink";
        return;
    }
    // The null sink renders in 2-second blocks, and so reports the end of a cue late, until a
    // low-latency reader is attached; it takes about 2 s to switch.
    m_lowLatencyReader.setStandardOutputFile(QProcess::nullDevice());
    m_lowLatencyReader.start("parec", {"--latency-msec=20", "-d", "nullsink.monitor"});
    QVERIFY(m_lowLatencyReader.waitForStarted(5000));
    QThread::msleep(2100);
}

void TestRealSound::cleanupTestCase() {
    if (m_lowLatencyReader.state() != QProcess::NotRunning) {
        m_lowLatencyReader.terminate();
        m_lowLatencyReader.waitForFinished(5000);
    }
}

std::optional<WaveSamples> TestRealSound::stopAndRead(MonitorRecorder& recorder,
                                                      const QString& file) {
    // The monitor runs a block or so behind what was played.
    QThread::msleep(200);
    if (!recorder.stop()) {
        return std::nullopt;
    }
    return WaveSamples::read(file.toStdString());
}

void TestRealSound::waitedCueReturnsOnceItHasPlayedOut_data() {
    QTest::addColumn<QString>("file");
    QTest::newRow("select") << "select.wav";
    QTest::newRow("good") << "good.wav";
}

void TestRealSound::waitedCueReturnsOnceItHasPlayedOut() {
    REQUIRE_NULL_SINK();
    QFETCH(QString, file);
    const double length = lengthOf(file.toStdString());
    const double audible = audibleLengthOf(file.toStdString());
    QVERIFY(length > 0.0 && audible > 0.0);

    CanberraSoundPlayer player(kProgramFolder);
    const QString recording = m_scratch.filePath("waited-" + file);
    MonitorRecorder recorder(recording);
    QVERIFY2(recorder.start(), qPrintable(recorder.errorText()));

    QElapsedTimer timer;
    timer.start();
    player.PlaySoundCue(file.toStdString(), CueMode::Wait);
    const double blocked = secondsSince(timer);
    const auto heard = stopAndRead(recorder, recording);
    QVERIFY(heard);

    qInfo("%s (%.1f ms long) held the caller for %.1f ms", qPrintable(file), length * 1e3,
          blocked * 1e3);
    // The sink may take up to one 20 ms block ahead of the clock.
    QVERIFY2(blocked >= length - 0.020, qPrintable(QString::number(blocked)));
    QVERIFY2(blocked < length + 0.5, qPrintable(QString::number(blocked)));
    QVERIFY2(heardWhole(*heard, audible),
             qPrintable(QString("heard %1 s of %2 s").arg(heard->audibleSeconds()).arg(audible)));
}

void TestRealSound::unwaitedCueReturnsLongBeforeItsSoundEnds_data() {
    QTest::addColumn<QString>("file");
    for (const char* file :
         {"good.wav", "bad.wav", "timeup.wav", "finish.wav", "hiscore.wav", "showhi.wav"}) {
        QTest::newRow(file) << file;
    }
}

void TestRealSound::unwaitedCueReturnsLongBeforeItsSoundEnds() {
    REQUIRE_NULL_SINK();
    QFETCH(QString, file);
    const double length = lengthOf(file.toStdString());
    const double audible = audibleLengthOf(file.toStdString());
    QVERIFY(length > 0.0 && audible > 0.0);

    CanberraSoundPlayer player(kProgramFolder);
    const QString recording = m_scratch.filePath("unwaited-" + file);
    MonitorRecorder recorder(recording);
    QVERIFY2(recorder.start(), qPrintable(recorder.errorText()));

    QElapsedTimer timer;
    timer.start();
    player.PlaySoundCue(file.toStdString(), CueMode::Async);
    const double returned = secondsSince(timer);
    // The player must outlive the cue, as it does in the game.
    QThread::msleep(static_cast<unsigned long>(length * 1000) + 100);
    const auto heard = stopAndRead(recorder, recording);
    QVERIFY(heard);

    QVERIFY2(returned < length / 4, qPrintable(QString::number(returned)));
    // The whole file played: a file the server refused would give the short alert instead.
    QVERIFY2(heardWhole(*heard, audible),
             qPrintable(QString("heard %1 s of %2 s").arg(heard->audibleSeconds()).arg(audible)));
}

void TestRealSound::newerCueCutsTheOlderShort() {
    REQUIRE_NULL_SINK();
    const double olderAudible = audibleLengthOf("hiscore.wav");
    const double newerAudible = audibleLengthOf("good.wav");
    QVERIFY(olderAudible > 1.5);

    CanberraSoundPlayer player(kProgramFolder);
    const QString recording = m_scratch.filePath("cut.wav");
    MonitorRecorder recorder(recording);
    QVERIFY2(recorder.start(), qPrintable(recorder.errorText()));

    QElapsedTimer timer;
    timer.start();
    player.PlaySoundCue("hiscore.wav", CueMode::Async);
    QThread::msleep(400);
    const double olderPlayed = secondsSince(timer);
    player.PlaySoundCue("good.wav", CueMode::Wait);
    // Long enough that an older cue still sounding would stretch the recording clearly.
    QThread::msleep(500);
    const auto heard = stopAndRead(recorder, recording);
    QVERIFY(heard);

    const double expected = olderPlayed + newerAudible;
    QVERIFY2(std::abs(heard->audibleSeconds() - expected) < 0.15,
             qPrintable(QString("heard %1 s, expected %2 s of sound")
                            .arg(heard->audibleSeconds())
                            .arg(expected)));
}

void TestRealSound::unplayableFileSoundsTheAlertInstead_data() {
    QTest::addColumn<QByteArray>("contents");  // null: no file at all
    QTest::addColumn<bool>("wait");

    QTest::newRow("missing, waited") << QByteArray() << true;
    QTest::newRow("missing, not waited") << QByteArray() << false;
    QTest::newRow("not a wave file, waited") << QByteArray("hello, world\n") << true;
    QTest::newRow("24-bit samples, waited") << wave24Bit() << true;
}

void TestRealSound::unplayableFileSoundsTheAlertInstead() {
    REQUIRE_NULL_SINK();
    QFETCH(QByteArray, contents);
    QFETCH(bool, wait);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    if (!contents.isNull()) {
        QFile file(folder.filePath("select.wav"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }

    CanberraSoundPlayer player(folder.path().toStdString());
    const QString recording =
        m_scratch.filePath(QString("alert-%1.wav").arg(QTest::currentDataTag()));
    MonitorRecorder recorder(recording);
    QVERIFY2(recorder.start(), qPrintable(recorder.errorText()));

    QElapsedTimer timer;
    timer.start();
    player.PlaySoundCue("select.wav", wait ? CueMode::Wait : CueMode::Async);
    const double returned = secondsSince(timer);
    if (!wait) {
        QThread::msleep(1000);
    }
    const auto heard = stopAndRead(recorder, recording);
    QVERIFY(heard);

    const double alert = heard->audibleSeconds();
    QVERIFY2(alert > 0.05 && alert < 1.5, qPrintable(QString("heard %1 s").arg(alert)));
    if (wait) {
        QVERIFY2(returned >= alert - 0.03,
                 qPrintable(QString("returned after %1 s, alert %2 s").arg(returned).arg(alert)));
    } else {
        QVERIFY2(returned < alert / 2, qPrintable(QString::number(returned)));
    }
}

void TestRealSound::withoutAServerACueReturnsAtOnce_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("wait");
    QTest::newRow("long cue, waited") << "hiscore.wav" << true;
    QTest::newRow("long cue, not waited") << "hiscore.wav" << false;
    QTest::newRow("missing file, waited") << "nothing-here.wav" << true;
}

void TestRealSound::withoutAServerACueReturnsAtOnce() {
    QFETCH(QString, file);
    QFETCH(bool, wait);

    EnvironmentOverride environment;
    environment.set("PULSE_SERVER", "unix:" + QFile::encodeName(m_scratch.filePath("no-server")));
    // Held to PulseAudio, so that a machine with a sound card reached some other way does not
    // play the cue after all.
    environment.set("CANBERRA_DRIVER", "pulse");

    CanberraSoundPlayer player(kProgramFolder);
    QElapsedTimer timer;
    timer.start();
    player.PlaySoundCue(file.toStdString(), wait ? CueMode::Wait : CueMode::Async);
    const double returned = secondsSince(timer);
    QVERIFY2(returned < 0.5, qPrintable(QString::number(returned)));
}

void TestRealSound::stalledServerHoldsAWaitedCueOneSecondPastItsLengthAtMost() {
    if (QStandardPaths::findExecutable("pulseaudio").isEmpty()) {
        QSKIP("pulseaudio is not installed");
    }
    // A server of our own, stopped while it plays, so that the end of the cue is never
    // reported.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString runtime = dir.filePath("run");
    QVERIFY(QDir().mkdir(runtime));
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString socket = dir.filePath("pulse");

    QProcess server;
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_RUNTIME_DIR", runtime);
    // Kept off the session bus, where the test desktop's own server holds the name.
    environment.remove("DBUS_SESSION_BUS_ADDRESS");
    environment.remove("DISPLAY");
    server.setProcessEnvironment(environment);
    server.start("pulseaudio",
                 {"-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit",
                  "--use-pid-file=no", "--load=module-null-sink sink_name=stalled",
                  "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket});
    QVERIFY(server.waitForStarted(5000));
    const auto pid = static_cast<pid_t>(server.processId());
    struct ServerStopper {
        QProcess& server;
        pid_t pid;
        ~ServerStopper() {
            ::kill(pid, SIGCONT);
            server.terminate();
            if (!server.waitForFinished(5000)) {
                server.kill();
                server.waitForFinished(1000);
            }
        }
    } stopper{server, pid};
    QTRY_VERIFY2_WITH_TIMEOUT(QFileInfo(socket).exists(),
                              qPrintable(QString::fromLocal8Bit(server.readAllStandardError())),
                              10000);

    EnvironmentOverride override;
    override.set("PULSE_SERVER", "unix:" + QFile::encodeName(socket));
    override.set("CANBERRA_DRIVER", "pulse");

    const double length = lengthOf("hiscore.wav");
    double returned = 0.0;
    {
        CanberraSoundPlayer player(kProgramFolder);
        std::thread freezer([pid] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            ::kill(pid, SIGSTOP);
        });
        QElapsedTimer timer;
        timer.start();
        player.PlaySoundCue("hiscore.wav", CueMode::Wait);
        returned = secondsSince(timer);
        freezer.join();
        ::kill(pid, SIGCONT);
    }
    // The cue's own length plus one second of grace, then the caller goes on.
    QVERIFY2(returned > length + 0.8 && returned < length + 2.0,
             qPrintable(QString("returned after %1 s for a %2 s cue").arg(returned).arg(length)));
}

QTEST_GUILESS_MAIN(TestRealSound)
#include "tst_realsound.moc"
