// The cues through libcanberra on a real sound server: what the server's null sink plays is
// recorded and measured. These are real-time measurements of the sound path, so the bounds
// are generous.

#include "CanberraSoundPlayer.h"
#include "WaveFileInfo.h"
#include "WaveSamples.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <csignal>
#include <functional>
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

// Seconds the call held its caller.
double secondsTaken(const std::function<void()>& call) {
    QElapsedTimer timer;
    timer.start();
    call();
    return timer.nsecsElapsed() / 1e9;
}

// Points libcanberra at another PulseAudio server, and at PulseAudio alone so that a sound
// card reached some other way cannot play the cue after all, until the guard ends.
auto pointAtServer(const QString& socket) {
    const QByteArray server = qgetenv("PULSE_SERVER");  // null when unset
    const QByteArray driver = qgetenv("CANBERRA_DRIVER");
    qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(socket));
    qputenv("CANBERRA_DRIVER", "pulse");
    return qScopeGuard([server, driver] {
        server.isNull() ? qunsetenv("PULSE_SERVER") : qputenv("PULSE_SERVER", server);
        driver.isNull() ? qunsetenv("CANBERRA_DRIVER") : qputenv("CANBERRA_DRIVER", driver);
    });
}

}  // namespace

// The cases that play through the null sink skip without it.
#define REQUIRE_NULL_SINK()              \
    if (!m_skipReason.isEmpty()) {       \
        QSKIP(qPrintable(m_skipReason)); \
    }

class TestRealSound : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void cueIsHeardWholeAndWaitedForOnlyWhenAsked_data();
    void cueIsHeardWholeAndWaitedForOnlyWhenAsked();
    void cueFromAFolderWithAHostileName();
    void newerCueCutsTheOlderShort();
    void unplayableFileSoundsTheAlertInstead_data();
    void unplayableFileSoundsTheAlertInstead();
    void withoutAServerACueReturnsAtOnce();
    void stalledServerHoldsAWaitedCueOneSecondPastItsLengthAtMost();

private:
    // Records the null sink while `play` runs and for `tailMs` afterwards.
    std::optional<WaveSamples> record(const std::function<void()>& play, int tailMs);

    QString m_skipReason;
    QProcess m_lowLatencyReader;
    QTemporaryDir m_scratch;
    int m_recordings = 0;
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

std::optional<WaveSamples> TestRealSound::record(const std::function<void()>& play, int tailMs) {
    const QString file = m_scratch.filePath(QString("recording-%1.wav").arg(++m_recordings));
    // parec on the sink's monitor; a 20 ms latency keeps the recording close to what is
    // played at each moment.
    QProcess parec;
    parec.start("parec", {"--latency-msec=20", "-d", "nullsink.monitor", "--format=s16le",
                          "--rate=44100", "--channels=1", "--file-format=wav", file});
    // Play only once samples flow: a header and a few milliseconds of them.
    const auto flowing = [&file] { return QFileInfo(file).size() >= 44 + 2 * 441; };
    const QDeadlineTimer deadline(5000);
    while (parec.waitForStarted(5000) && parec.state() == QProcess::Running && !flowing() &&
           !deadline.hasExpired()) {
        QThread::msleep(5);
    }
    if (!flowing()) {
        qWarning("parec did not record: %s", parec.readAllStandardError().constData());
        return std::nullopt;
    }
    play();
    // The monitor runs a block or so behind what was played.
    QThread::msleep(static_cast<unsigned long>(tailMs) + 200);
    // parec writes the final sizes into the header when interrupted.
    ::kill(static_cast<pid_t>(parec.processId()), SIGINT);
    if (!parec.waitForFinished(5000) || parec.exitStatus() != QProcess::NormalExit) {
        parec.kill();
        return std::nullopt;
    }
    return WaveSamples::read(file.toStdString());
}

void TestRealSound::cueIsHeardWholeAndWaitedForOnlyWhenAsked_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("wait");
    QTest::newRow("select, waited") << "select.wav" << true;
    QTest::newRow("good, waited") << "good.wav" << true;
    for (const char* file :
         {"good.wav", "bad.wav", "timeup.wav", "finish.wav", "hiscore.wav", "showhi.wav"}) {
        QTest::newRow(file) << file << false;
    }
}

void TestRealSound::cueIsHeardWholeAndWaitedForOnlyWhenAsked() {
    REQUIRE_NULL_SINK();
    QFETCH(QString, file);
    QFETCH(bool, wait);
    const double length = lengthOf(file.toStdString());
    const double audible = audibleLengthOf(file.toStdString());
    QVERIFY(length > 0.0 && audible > 0.0);

    CanberraSoundPlayer player(kProgramFolder);
    double returned = 0.0;
    // An unwaited cue is left to play out: the player lives on, as it does in the game.
    const auto heard = record(
        [&] {
            returned = secondsTaken([&] {
                player.PlaySoundCue(file.toStdString(), wait ? CueMode::Wait : CueMode::Async);
            });
        },
        wait ? 0 : static_cast<int>(length * 1000));
    QVERIFY(heard);

    // A file the server refused would give the short alert instead of the whole cue.
    QVERIFY2(heardWhole(*heard, audible),
             qPrintable(QString("heard %1 s of %2 s").arg(heard->audibleSeconds()).arg(audible)));
    if (wait) {
        qInfo("%s (%.1f ms long) held the caller for %.1f ms", qPrintable(file), length * 1e3,
              returned * 1e3);
        // The sink may take up to one 20 ms block ahead of the clock.
        QVERIFY2(returned >= length - 0.020 && returned < length + 0.5,
                 qPrintable(QString::number(returned)));
    } else {
        QVERIFY2(returned < length / 4, qPrintable(QString::number(returned)));
    }
}

// The folder's name reaches libcanberra as a path, never through a shell: the cue itself must
// sound (not the alert for a missing file) and nothing in the name may run.
void TestRealSound::cueFromAFolderWithAHostileName() {
    REQUIRE_NULL_SINK();
    const QDir scratch(m_scratch.path());
    const QString folder =
        scratch.filePath(QStringLiteral("a b'c\"d;e $(touch X) `touch X` \u00fc"));
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(QFile::copy(QString::fromStdString((kProgramFolder / "good.wav").string()),
                        folder + QStringLiteral("/good.wav")));

    CanberraSoundPlayer player(std::filesystem::path(folder.toStdString()));
    const auto heard = record([&] { player.PlaySoundCue("good.wav", CueMode::Wait); }, 0);
    QVERIFY(heard);
    QVERIFY2(heardWhole(*heard, audibleLengthOf("good.wav")),
             qPrintable(QString("heard %1 s").arg(heard->audibleSeconds())));
    QVERIFY(!QFile::exists(scratch.filePath("X")));
    QVERIFY(!QFile::exists(QDir::current().filePath("X")));
}

void TestRealSound::newerCueCutsTheOlderShort() {
    REQUIRE_NULL_SINK();
    QVERIFY(audibleLengthOf("hiscore.wav") > 1.5);

    CanberraSoundPlayer player(kProgramFolder);
    double olderPlayed = 0.0;
    // The long tail would show an older cue still sounding after the newer one.
    const auto heard = record(
        [&] {
            olderPlayed = secondsTaken([&] {
                player.PlaySoundCue("hiscore.wav", CueMode::Async);
                QThread::msleep(400);
            });
            player.PlaySoundCue("good.wav", CueMode::Wait);
        },
        500);
    QVERIFY(heard);

    const double expected = olderPlayed + audibleLengthOf("good.wav");
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
    double returned = 0.0;
    const auto heard = record(
        [&] {
            returned = secondsTaken(
                [&] { player.PlaySoundCue("select.wav", wait ? CueMode::Wait : CueMode::Async); });
        },
        wait ? 0 : 1000);
    QVERIFY(heard);

    const double alert = heard->audibleSeconds();
    QVERIFY2(alert > 0.05 && alert < 1.5, qPrintable(QString("heard %1 s").arg(alert)));
    QVERIFY2(wait ? returned >= alert - 0.03 : returned < alert / 2,
             qPrintable(QString("returned after %1 s, alert %2 s").arg(returned).arg(alert)));
}

void TestRealSound::withoutAServerACueReturnsAtOnce() {
    const auto noServer = pointAtServer(m_scratch.filePath("no-server"));
    CanberraSoundPlayer player(kProgramFolder);
    for (const char* file : {"hiscore.wav", "nothing-here.wav"}) {
        const double returned = secondsTaken([&] { player.PlaySoundCue(file, CueMode::Wait); });
        QVERIFY2(returned < 0.5, qPrintable(QString("%1: %2 s").arg(file).arg(returned)));
    }
}

// Never a hang: a server that stops answering holds a waited cue at most a second past its end.
void TestRealSound::stalledServerHoldsAWaitedCueOneSecondPastItsLengthAtMost() {
    if (QStandardPaths::findExecutable("pulseaudio").isEmpty()) {
        QSKIP("pulseaudio is not installed");
    }
    // A server of our own, stopped while it plays, so that the end of the cue is never
    // reported. It stays off the session bus, where the desktop's server holds the name.
    QTemporaryDir dir;
    QVERIFY(dir.isValid() && QDir(dir.path()).mkdir("run"));
    const QString socket = dir.filePath("pulse");
    QProcess server;
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_RUNTIME_DIR", dir.filePath("run"));
    environment.remove("DBUS_SESSION_BUS_ADDRESS");
    environment.remove("DISPLAY");
    server.setProcessEnvironment(environment);
    server.start("pulseaudio",
                 {"-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit",
                  "--use-pid-file=no", "--load=module-null-sink sink_name=stalled",
                  "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket});
    QVERIFY(server.waitForStarted(5000));
    const auto pid = static_cast<pid_t>(server.processId());
    const auto resume = qScopeGuard([&] {
        ::kill(pid, SIGCONT);
        server.terminate();
        server.waitForFinished(5000);
    });
    QTRY_VERIFY2_WITH_TIMEOUT(QFileInfo(socket).exists(),
                              qPrintable(QString::fromLocal8Bit(server.readAllStandardError())),
                              10000);

    const auto stalled = pointAtServer(socket);
    CanberraSoundPlayer player(kProgramFolder);
    std::thread freezer([pid] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        ::kill(pid, SIGSTOP);
    });
    const double returned =
        secondsTaken([&] { player.PlaySoundCue("hiscore.wav", CueMode::Wait); });
    freezer.join();
    ::kill(pid, SIGCONT);

    const double length = lengthOf("hiscore.wav");
    QVERIFY2(returned > length + 0.8 && returned < length + 2.0,
             qPrintable(QString("returned after %1 s for a %2 s cue").arg(returned).arg(length)));
}

QTEST_GUILESS_MAIN(TestRealSound)
#include "tst_realsound.moc"
