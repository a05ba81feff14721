// SPDX-License-Identifier: GPL-3.0-or-later
// The cues through libcanberra on a real sound server: what the server's null sink plays is
// recorded and measured. These are real-time measurements of the sound path, so the bounds
// are generous.

#include "CanberraSoundPlayer.h"
#include "Cue.h"
#include "Translation.h"
#include "WaveFileInfo.h"
#include "WaveSamples.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
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

// The cue whose wave file has this name.
Cue cueNamed(std::string_view file) {
    const auto found = std::find_if(kCues.begin(), kCues.end(),
                                    [file](const CueInfo& info) { return info.file == file; });
    if (found == kCues.end()) {
        qFatal("no cue plays %s", std::string(file).c_str());
    }
    return found->cue;
}

double audibleLengthOf(const std::string& file) {
    const auto wave = WaveSamples::read(kProgramFolder / file);
    return wave ? wave->audibleSeconds() : 0.0;
}

// Whether a recording holds the whole of a cue, and nothing else: not the alert, not the cue
// twice. The null sink mixes a new stream in at once by rewinding, but what it already handed
// to its monitor stays as it was, so the recording misses up to one 20 ms block at the start
// of each cue; a server held up mid-cue on a loaded machine stretches it by a gap.
bool heardWhole(const WaveSamples& heard, double audible) {
    const double seconds = heard.audibleSeconds();
    return seconds >= 0.95 * audible - 0.030 && seconds < audible + 0.250;
}

// Seconds the call held its caller.
double secondsTaken(const std::function<void()>& call) {
    QElapsedTimer timer;
    timer.start();
    call();
    return timer.nsecsElapsed() / 1e9;
}

// Points libcanberra at another PulseAudio server (an address such as unix:/path), and at
// PulseAudio alone so that a sound card reached some other way cannot play the cue after all,
// until the guard ends.
auto pointAtServer(const QString& address) {
    const QByteArray server = qgetenv("PULSE_SERVER");  // null when unset
    const QByteArray driver = qgetenv("CANBERRA_DRIVER");
    qputenv("PULSE_SERVER", QFile::encodeName(address));
    qputenv("CANBERRA_DRIVER", "pulse");
    return qScopeGuard([server, driver] {
        server.isNull() ? qunsetenv("PULSE_SERVER") : qputenv("PULSE_SERVER", server);
        driver.isNull() ? qunsetenv("CANBERRA_DRIVER") : qputenv("CANBERRA_DRIVER", driver);
    });
}

// The test desktop's sound server, stopped (SIGSTOP) to stand in for a hung one, until
// resume() or the end of the object. A helper process resumes it when this process ends any
// other way, a crash too, so that no later test finds the desktop without sound.
class StalledServer {
public:
    explicit StalledServer(pid_t server) : m_server(server) {
        int ends[2];
        if (::pipe(ends) != 0) {
            return;
        }
        m_watchdog = ::fork();
        if (m_watchdog == 0) {
            // Only async-signal-safe calls here: the parent has threads.
            ::close(ends[1]);
            char byte;
            while (::read(ends[0], &byte, 1) < 0 && errno == EINTR) {
            }
            ::kill(server, SIGCONT);
            ::_exit(0);
        }
        ::close(ends[0]);
        m_pipe = ends[1];
        if (m_watchdog > 0) {
            m_stopped = ::kill(server, SIGSTOP) == 0;
        }
    }

    ~StalledServer() { resume(); }

    StalledServer(const StalledServer&) = delete;
    StalledServer& operator=(const StalledServer&) = delete;

    bool stopped() const { return m_stopped; }

    void resume() {
        if (m_pipe >= 0) {
            ::kill(m_server, SIGCONT);
            ::close(m_pipe);  // lets the helper end
            m_pipe = -1;
        }
        if (m_watchdog > 0) {
            ::waitpid(m_watchdog, nullptr, 0);
            m_watchdog = -1;
        }
        m_stopped = false;
    }

private:
    pid_t m_server;
    pid_t m_watchdog = -1;
    int m_pipe = -1;
    bool m_stopped = false;
};

// The test desktop's sound server, when scripts/desktop-env.sh says that it may be stopped.
std::optional<pid_t> desktopSoundServer() {
    bool ok = false;
    const int pid = qEnvironmentVariableIntValue("BRIGHTSUM_PULSE_PID", &ok);
    if (!ok || pid <= 1 || pid == ::getpid()) {
        return std::nullopt;
    }
    QFile comm(QString("/proc/%1/comm").arg(pid));
    if (!comm.open(QIODevice::ReadOnly) || comm.readAll().trimmed() != "pulseaudio") {
        return std::nullopt;
    }
    return static_cast<pid_t>(pid);
}

// A sound server of the test's own, to stop, restart or end: PulseAudio, or PipeWire with
// pipewire-pulse, with a null sink named nullsink (scripts/sound-server.sh).
class PrivateSoundServer {
public:
    explicit PrivateSoundServer(const QString& kind) {
        QProcess start;
        start.start(kScript, {"start", kind, m_dir.path()});
        if (!start.waitForFinished(30000) || start.exitStatus() != QProcess::NormalExit) {
            m_failure = "the sound server script did not finish";
        } else if (start.exitCode() == 77) {
            m_skip = QString::fromLocal8Bit(start.readAllStandardError()).trimmed();
        } else if (start.exitCode() != 0) {
            m_failure = QString::fromLocal8Bit(start.readAllStandardError());
        }
        m_address = QString::fromLocal8Bit(start.readAllStandardOutput()).trimmed();
    }
    ~PrivateSoundServer() { run("stop"); }

    PrivateSoundServer(const PrivateSoundServer&) = delete;
    PrivateSoundServer& operator=(const PrivateSoundServer&) = delete;

    QString skipReason() const { return m_skip; }
    QString failure() const { return m_failure; }
    QString address() const { return m_address; }  // for PULSE_SERVER
    pid_t frontEnd() const {
        QFile file(m_dir.filePath("front.pid"));
        return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().toInt() : 0;
    }
    // Stops the server's PulseAudio front end and starts it again on the same address.
    bool restart() { return run("restart"); }
    bool stop() { return run("stop"); }

private:
    static constexpr const char* kScript = BRIGHTSUM_SOUND_SERVER_SCRIPT;

    bool run(const char* command) {
        return QProcess::execute(kScript, {command, m_dir.path()}) == 0;
    }

    QTemporaryDir m_dir;
    QString m_skip;
    QString m_failure;
    QString m_address;
};

// A reader on the current server's null sink that holds it at 20 ms: without one, a
// PulseAudio null sink renders in 2-second blocks and reports the end of a cue late.
class LowLatencyReader {
public:
    LowLatencyReader() {
        m_parec.setStandardOutputFile(QProcess::nullDevice());
        m_parec.start("parec", {"--latency-msec=20", "-d", "nullsink.monitor"});
        m_parec.waitForStarted(5000);
        QThread::msleep(2100);  // the sink switches in about 2 s
    }
    ~LowLatencyReader() {
        m_parec.terminate();
        m_parec.waitForFinished(5000);
    }

private:
    QProcess m_parec;
};

// CPU time this process has used, all its threads together.
double cpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The properties of the streams this program plays on the current server, oldest first.
QList<QJsonObject> ourStreams() {
    QProcess pactl;
    pactl.start("pactl", {"--format=json", "list", "sink-inputs"});
    pactl.waitForFinished(5000);
    QList<QJsonObject> streams;
    for (const QJsonValue stream : QJsonDocument::fromJson(pactl.readAllStandardOutput()).array()) {
        const QJsonObject properties = stream["properties"].toObject();
        if (properties["application.name"].toString() == "Brightsum") {
            streams << properties;
        }
    }
    return streams;
}

// Waits until the server plays nothing of ours, so that what was held up while it hung has
// played out before the next recording.
bool serverIdle() {
    const QDeadlineTimer deadline(10000);
    while (!ourStreams().isEmpty()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QThread::msleep(50);
    }
    return true;
}

// Makes a folder whose name is given as bytes, with a copy of one of the wave files.
std::filesystem::path folderWithCue(const QString& parent, const QByteArray& name,
                                    const std::string& file) {
    const std::filesystem::path folder =
        std::filesystem::path(QFile::encodeName(parent).toStdString()) / name.toStdString();
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(kProgramFolder / file, folder / file);
    return folder;
}

}  // namespace

// The cases that play through the null sink skip without it.
#define REQUIRE_NULL_SINK()              \
    if (!m_skipReason.isEmpty()) {       \
        QSKIP(qPrintable(m_skipReason)); \
    }

class RealSoundTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void cueIsHeardWholeAndWaitedForOnlyWhenAsked_data();
    void cueIsHeardWholeAndWaitedForOnlyWhenAsked();
    void cueFromAFolderWithAHostileName_data();
    void cueFromAFolderWithAHostileName();
    void eachCueReachesTheMixerNamedInThePlayersLanguage();
    void newerCueCutsTheOlderShort();
    void changedFileIsHeardAsItIsNow();
    void unplayableFileSoundsTheAlertInstead_data();
    void unplayableFileSoundsTheAlertInstead();
    void withoutAServerCuesReturnAtOnceAndThePlayerIdles_data();
    void withoutAServerCuesReturnAtOnceAndThePlayerIdles();
    void soundComesBackAfterTheServerRestarts_data();
    void soundComesBackAfterTheServerRestarts();
    void stalledServerHoldsAWaitedCueOneSecondPastItsLengthAtMost();
    void desktopServerStalledMidGameHoldsNoCueLong();
    void desktopServerStalledBeforeStartHoldsNothingLong();

private:
    // Records the null sink while `play` runs, for `tailMs` afterwards and until the server
    // plays nothing of ours.
    std::optional<WaveSamples> record(const std::function<void()>& play, int tailMs);

    QString m_skipReason;
    QProcess m_lowLatencyReader;
    QTemporaryDir m_scratch;
    int m_recordings = 0;
};

void RealSoundTest::initTestCase() {
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

void RealSoundTest::cleanupTestCase() {
    if (m_lowLatencyReader.state() != QProcess::NotRunning) {
        m_lowLatencyReader.terminate();
        m_lowLatencyReader.waitForFinished(5000);
    }
}

std::optional<WaveSamples> RealSoundTest::record(const std::function<void()>& play, int tailMs) {
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
    // A cue started late, on a loaded machine, ends late: listen until it has. The monitor
    // runs a block or so behind what was played.
    QThread::msleep(static_cast<unsigned long>(tailMs));
    serverIdle();
    QThread::msleep(200);
    // parec writes the final sizes into the header when interrupted.
    ::kill(static_cast<pid_t>(parec.processId()), SIGINT);
    if (!parec.waitForFinished(5000) || parec.exitStatus() != QProcess::NormalExit) {
        parec.kill();
        return std::nullopt;
    }
    return WaveSamples::read(file.toStdString());
}

void RealSoundTest::cueIsHeardWholeAndWaitedForOnlyWhenAsked_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("wait");
    QTest::newRow("select, waited") << "select.wav" << true;
    QTest::newRow("good, waited") << "good.wav" << true;
    for (const char* file :
         {"good.wav", "bad.wav", "timeup.wav", "finish.wav", "hiscore.wav", "showhi.wav"}) {
        QTest::newRow(file) << file << false;
    }
}

void RealSoundTest::cueIsHeardWholeAndWaitedForOnlyWhenAsked() {
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
                player.PlaySoundCue(cueNamed(file.toStdString()),
                                    wait ? CueMode::Wait : CueMode::Async);
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
        // Held until the server reported the end: the sink may take up to one 20 ms block
        // ahead of the clock, and a report is late on a loaded machine, but not as late as the
        // grace of a second that a caller gives a server that never reports.
        QVERIFY2(returned >= length - 0.020 && returned < length + 0.8,
                 qPrintable(QString::number(returned)));
    } else {
        QVERIFY2(returned < length / 2, qPrintable(QString::number(returned)));
    }
}

void RealSoundTest::cueFromAFolderWithAHostileName_data() {
    QTest::addColumn<QByteArray>("folderName");
    QTest::newRow("shell syntax") << QStringLiteral("a b'c\"d;e $(touch X) `touch X` ü").toUtf8();
    QTest::newRow("Latin-1 byte, not UTF-8") << QByteArray("Spiele f\xfcr Kinder $(touch X)");
    QTest::newRow("line break") << QByteArray("two\nlines;touch X");
}

// The folder's name reaches libcanberra as a path of bytes, never through a shell or a text
// conversion: the cue itself must sound (not the alert for a missing file) and nothing in the
// name may run.
void RealSoundTest::cueFromAFolderWithAHostileName() {
    REQUIRE_NULL_SINK();
    QFETCH(QByteArray, folderName);
    QTemporaryDir parent;
    QVERIFY(parent.isValid());
    // QTemporaryDir cannot remove a name that is not UTF-8.
    const auto removeFolder = qScopeGuard(
        [&parent] { std::filesystem::remove_all(QFile::encodeName(parent.path()).toStdString()); });
    const auto folder = folderWithCue(parent.path(), folderName, "good.wav");

    CanberraSoundPlayer player(folder);
    const auto heard = record([&] { player.PlaySoundCue(cueNamed("good.wav"), CueMode::Wait); }, 0);
    QVERIFY(heard);
    QVERIFY2(heardWhole(*heard, audibleLengthOf("good.wav")),
             qPrintable(QString("heard %1 s").arg(heard->audibleSeconds())));
    QVERIFY(!QFile::exists(QDir(parent.path()).filePath("X")));
    QVERIFY(!QFile::exists(QDir::current().filePath("X")));
}

// The mixer lists each stream by its name: each cue must reach the server under a name of its
// own that says what it means, in the player's language, not as the file's path, and keep the
// role of an event sound.
void RealSoundTest::eachCueReachesTheMixerNamedInThePlayersLanguage() {
    REQUIRE_NULL_SINK();
    const QStringList cues{"select.wav", "good.wav",    "bad.wav",   "timeup.wav",
                           "finish.wav", "hiscore.wav", "showhi.wav"};
    // Each one long enough to be looked at.
    QTemporaryDir folder;
    for (const QString& cue : cues) {
        QVERIFY(QFile::copy(QString::fromStdString(kProgramFolder / "hiscore.wav"),
                            folder.filePath(cue)));
    }
    const auto english = qScopeGuard([] { Translation::use(QString()); });

    // The one stream of ours, once it is no longer the one named `previous`: the newer cue has
    // cut the older short.
    const auto streamAfter = [](const QString& previous) {
        const auto streams = ourStreams();
        return streams.size() == 1 && streams.first()["media.name"].toString() != previous
                   ? streams.first()
                   : QJsonObject();
    };
    QMap<QString, QStringList> names;  // by language
    for (const QString& language : {QString(), QStringLiteral("de")}) {
        QVERIFY(Translation::use(language));
        QVERIFY(serverIdle());
        CanberraSoundPlayer player(folder.path().toStdString());
        QString previous;
        for (const QString& cue : cues) {
            player.PlaySoundCue(cueNamed(cue.toStdString()), CueMode::Async);
            QJsonObject stream;
            QTRY_VERIFY_WITH_TIMEOUT(!(stream = streamAfter(previous)).isEmpty(), 3000);
            previous = stream["media.name"].toString();
            // A name for people: not the path, nor the name of the server's sample.
            QVERIFY2(!previous.contains(".wav") && !previous.contains('/') &&
                         previous != stream["event.id"].toString(),
                     qPrintable(cue + ": " + previous));
            QCOMPARE(stream["media.role"].toString(), "event");
            names[language] << previous;
        }
    }
    QVERIFY(serverIdle());
    for (const QString& language : names.keys()) {
        auto distinct = names[language];
        distinct.removeDuplicates();
        QVERIFY2(distinct.size() == cues.size(), qPrintable(names[language].join(", ")));
    }
    for (int cue = 0; cue < cues.size(); ++cue) {
        QVERIFY2(names["de"][cue] != names[""][cue], qPrintable(names["de"][cue]));
    }
}

void RealSoundTest::newerCueCutsTheOlderShort() {
    REQUIRE_NULL_SINK();
    QVERIFY(audibleLengthOf("hiscore.wav") > 1.5);

    CanberraSoundPlayer player(kProgramFolder);
    double olderPlayed = 0.0;
    // The long tail would show an older cue still sounding after the newer one.
    const auto heard = record(
        [&] {
            olderPlayed = secondsTaken([&] {
                player.PlaySoundCue(cueNamed("hiscore.wav"), CueMode::Async);
                QThread::msleep(400);
            });
            player.PlaySoundCue(cueNamed("good.wav"), CueMode::Wait);
        },
        500);
    QVERIFY(heard);

    // Heard: the older cue from its start until the newer one started, then the newer whole;
    // an older cue left to play would have sounded to its end, mixed with the newer.
    const double good = audibleLengthOf("good.wav");
    const double seconds = heard->audibleSeconds();
    QVERIFY2(seconds > good + 0.2 && seconds < olderPlayed + good + 0.3 &&
                 seconds < audibleLengthOf("hiscore.wav") - 0.2,
             qPrintable(QString("heard %1 s: %2 s of hiscore.wav before %3 s of good.wav")
                            .arg(seconds)
                            .arg(olderPlayed)
                            .arg(good)));
}

// The server keeps each cue's sound for later plays: a file replaced by another, or rewritten
// where it is, must still be heard as it is now, not as the server kept it.
void RealSoundTest::changedFileIsHeardAsItIsNow() {
    REQUIRE_NULL_SINK();
    QTemporaryDir folder;
    const QString cue = folder.filePath("good.wav");
    const auto ours = [](const char* file) {
        return QString::fromStdString(kProgramFolder / file);
    };
    QVERIFY(QFile::copy(ours("good.wav"), cue));
    CanberraSoundPlayer player(folder.path().toStdString());
    player.PlaySoundCue(cueNamed("good.wav"), CueMode::Wait);

    for (const char* now : {"hiscore.wav", "finish.wav"}) {
        if (QByteArray(now) == "hiscore.wav") {  // replaced
            QVERIFY(QFile::remove(cue) && QFile::copy(ours(now), cue));
        } else {  // rewritten
            QFile from(ours(now));
            QFile to(cue);
            QVERIFY(from.open(QIODevice::ReadOnly) && to.open(QIODevice::WriteOnly));
            QVERIFY(to.write(from.readAll()) == from.size());
        }
        const auto heard =
            record([&] { player.PlaySoundCue(cueNamed("good.wav"), CueMode::Async); },
                   static_cast<int>(lengthOf(now) * 1000));
        QVERIFY(heard);
        QVERIFY2(
            heardWhole(*heard, audibleLengthOf(now)),
            qPrintable(
                QString("good.wav, now %1, sounded %2 s").arg(now).arg(heard->audibleSeconds())));
    }
}

void RealSoundTest::unplayableFileSoundsTheAlertInstead_data() {
    QTest::addColumn<QByteArray>("contents");  // null: no file at all
    QTest::addColumn<bool>("wait");
    QTest::newRow("missing, waited") << QByteArray() << true;
    QTest::newRow("missing, not waited") << QByteArray() << false;
    QTest::newRow("not a wave file, waited") << QByteArray("hello, world\n") << true;
}

void RealSoundTest::unplayableFileSoundsTheAlertInstead() {
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
            returned = secondsTaken([&] {
                player.PlaySoundCue(cueNamed("select.wav"), wait ? CueMode::Wait : CueMode::Async);
            });
        },
        wait ? 0 : 1000);
    QVERIFY(heard);

    const double alert = heard->audibleSeconds();
    QVERIFY2(alert > 0.05 && alert < 1.5, qPrintable(QString("heard %1 s").arg(alert)));
    QVERIFY2(wait ? returned >= alert - 0.03 : returned < alert / 2,
             qPrintable(QString("returned after %1 s, alert %2 s").arg(returned).arg(alert)));
}

void RealSoundTest::withoutAServerCuesReturnAtOnceAndThePlayerIdles_data() {
    QTest::addColumn<bool>("connectedFirst");
    QTest::newRow("no server from the start") << false;
    QTest::newRow("the server gone mid-game") << true;
}

// With no server, a cue ends at once and the player tries the server again with the next cue
// only: a player that kept reconnecting by itself would spin while nothing answers.
void RealSoundTest::withoutAServerCuesReturnAtOnceAndThePlayerIdles() {
    QFETCH(bool, connectedFirst);
    std::optional<PrivateSoundServer> server;
    QString address = "unix:" + m_scratch.filePath("no-server");
    if (connectedFirst) {
        server.emplace("pulseaudio");
        if (!server->skipReason().isEmpty()) {
            QSKIP(qPrintable(server->skipReason()));
        }
        QVERIFY2(server->failure().isEmpty(), qPrintable(server->failure()));
        address = server->address();
    }
    const auto pointed = pointAtServer(address);
    CanberraSoundPlayer player(kProgramFolder);
    const QTemporaryDir nothing;  // a program folder without its wave files
    CanberraSoundPlayer missing(nothing.path().toStdString());
    if (server) {
        player.PlaySoundCue(cueNamed("select.wav"), CueMode::Wait);
        QVERIFY(server->stop());
    }

    const double cpuBefore = cpuSeconds();
    for (int click = 0; click < 10; ++click) {
        for (CanberraSoundPlayer* played : {&player, &missing}) {
            const double returned =
                secondsTaken([&] { played->PlaySoundCue(Cue::Select, CueMode::Wait); });
            QVERIFY2(returned < 0.5, qPrintable(QString("%1: %2 s")
                                                    .arg(played == &player ? "select" : "missing")
                                                    .arg(returned)));
        }
        player.PlaySoundCue(cueNamed("good.wav"), CueMode::Async);
        QThread::msleep(100);
    }
    QThread::msleep(2000);
    const double cpu = cpuSeconds() - cpuBefore;
    qInfo("30 cues and 2 s without a server took %.3f s of CPU", cpu);
    QVERIFY2(cpu < 0.25, qPrintable(QString("%1 s of CPU").arg(cpu)));
}

void RealSoundTest::soundComesBackAfterTheServerRestarts_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("PulseAudio") << "pulseaudio";
    QTest::newRow("PipeWire, pipewire-pulse restarted") << "pipewire";
}

// A server restarted mid-game (PulseAudio, or PipeWire's pipewire-pulse) left the player
// silent for the rest of the run: libcanberra gives up on a context whose server went away.
void RealSoundTest::soundComesBackAfterTheServerRestarts() {
    QFETCH(QString, kind);
    PrivateSoundServer server(kind);
    if (!server.skipReason().isEmpty()) {
        QSKIP(qPrintable(server.skipReason()));
    }
    QVERIFY2(server.failure().isEmpty(), qPrintable(server.failure()));
    const auto pointed = pointAtServer(server.address());
    CanberraSoundPlayer player(kProgramFolder);

    for (const char* when : {"before", "after"}) {
        if (QByteArray(when) == "after") {
            QVERIFY(server.restart());
        }
        const LowLatencyReader reader;
        const auto heard =
            record([&] { player.PlaySoundCue(cueNamed("good.wav"), CueMode::Wait); }, 0);
        QVERIFY(heard);
        QVERIFY2(heardWhole(*heard, audibleLengthOf("good.wav")),
                 qPrintable(QString("%1 the restart, heard %2 s of good.wav")
                                .arg(when)
                                .arg(heard->audibleSeconds())));
    }
}

// Never a hang: a server that stops answering holds a waited cue at most a second past its end.
void RealSoundTest::stalledServerHoldsAWaitedCueOneSecondPastItsLengthAtMost() {
    // A server of our own, stopped while it plays, so that the end of the cue is never
    // reported.
    PrivateSoundServer server("pulseaudio");
    if (!server.skipReason().isEmpty()) {
        QSKIP(qPrintable(server.skipReason()));
    }
    QVERIFY2(server.failure().isEmpty(), qPrintable(server.failure()));
    const pid_t pid = server.frontEnd();
    QVERIFY(pid > 0);
    const auto resume = qScopeGuard([pid] { ::kill(pid, SIGCONT); });

    const auto stalled = pointAtServer(server.address());
    CanberraSoundPlayer player(kProgramFolder);
    std::thread freezer([pid] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        ::kill(pid, SIGSTOP);
    });
    const double returned =
        secondsTaken([&] { player.PlaySoundCue(cueNamed("good.wav"), CueMode::Wait); });
    freezer.join();
    ::kill(pid, SIGCONT);

    const double length = lengthOf("good.wav");
    QVERIFY2(returned > length + 0.8 && returned < length + 2.0,
             qPrintable(QString("returned after %1 s for a %2 s cue").arg(returned).arg(length)));
}

// A server that hangs mid-game holds the game no longer than a waited cue's length and a
// second, and an unwaited cue not at all; once it answers again, cues sound again.
void RealSoundTest::desktopServerStalledMidGameHoldsNoCueLong() {
    REQUIRE_NULL_SINK();
    const auto server = desktopSoundServer();
    if (!server) {
        QSKIP("BRIGHTSUM_PULSE_PID does not name the test desktop's sound server");
    }
    const double select = lengthOf("select.wav");
    CanberraSoundPlayer player(kProgramFolder);
    player.PlaySoundCue(cueNamed("select.wav"), CueMode::Wait);  // connected, and idle again

    {
        StalledServer stalled(*server);
        QVERIFY(stalled.stopped());
        // A wait ends at its bound, plus however late a loaded machine wakes the caller; a
        // call that waited on the server would last until it resumes, after the loop.
        for (int click = 1; click <= 3; ++click) {
            const double waited =
                secondsTaken([&] { player.PlaySoundCue(cueNamed("select.wav"), CueMode::Wait); });
            QVERIFY2(waited >= select + 0.95 && waited < select + 1.5,
                     qPrintable(QString("click %1: select.wav (%2 s) held the caller %3 s")
                                    .arg(click)
                                    .arg(select)
                                    .arg(waited)));
            const double async =
                secondsTaken([&] { player.PlaySoundCue(cueNamed("good.wav"), CueMode::Async); });
            qInfo("click %d on a stalled server: select.wav waited %.3f s, good.wav %.6f s", click,
                  waited, async);
            QVERIFY2(async < 0.5, qPrintable(QString("good.wav held the caller %1 s").arg(async)));
        }
    }

    // What was held up plays once the server answers; listen after it.
    QVERIFY(serverIdle());
    const auto heard = record([&] { player.PlaySoundCue(cueNamed("good.wav"), CueMode::Wait); }, 0);
    QVERIFY(heard);
    QVERIFY2(heardWhole(*heard, audibleLengthOf("good.wav")),
             qPrintable(QString("after the server came back, heard %1 s of good.wav")
                            .arg(heard->audibleSeconds())));
}

// A server that hangs before the game starts delays neither the player nor its end.
void RealSoundTest::desktopServerStalledBeforeStartHoldsNothingLong() {
    REQUIRE_NULL_SINK();
    const auto server = desktopSoundServer();
    if (!server) {
        QSKIP("BRIGHTSUM_PULSE_PID does not name the test desktop's sound server");
    }
    const double select = lengthOf("select.wav");
    StalledServer stalled(*server);
    QVERIFY(stalled.stopped());

    // A player that the program ends while the server still hangs.
    {
        std::optional<CanberraSoundPlayer> player;
        const double built = secondsTaken([&] { player.emplace(kProgramFolder); });
        QVERIFY2(built < 0.5, qPrintable(QString("construction took %1 s").arg(built)));
        const double ended = secondsTaken([&] { player.reset(); });
        qInfo("on a stalled server: built in %.6f s, ended in %.3f s", built, ended);
        QVERIFY2(ended < 2.0, qPrintable(QString("destruction took %1 s").arg(ended)));
    }

    std::optional<CanberraSoundPlayer> player;
    const double built = secondsTaken([&] { player.emplace(kProgramFolder); });
    QVERIFY2(built < 0.5, qPrintable(QString("construction took %1 s").arg(built)));
    const double waited =
        secondsTaken([&] { player->PlaySoundCue(cueNamed("select.wav"), CueMode::Wait); });
    QVERIFY2(waited >= select + 0.95 && waited < select + 1.5,
             qPrintable(QString("select.wav held the caller %1 s").arg(waited)));
    const double async =
        secondsTaken([&] { player->PlaySoundCue(cueNamed("good.wav"), CueMode::Async); });
    qInfo("stalled before start: built in %.6f s, select.wav waited %.3f s, good.wav %.6f s", built,
          waited, async);
    QVERIFY2(async < 0.5, qPrintable(QString("good.wav held the caller %1 s").arg(async)));

    // The same player sounds once the server answers.
    stalled.resume();
    QVERIFY(serverIdle());
    const auto heard =
        record([&] { player->PlaySoundCue(cueNamed("good.wav"), CueMode::Wait); }, 0);
    QVERIFY(heard);
    QVERIFY2(heardWhole(*heard, audibleLengthOf("good.wav")),
             qPrintable(QString("after the server came back, heard %1 s of good.wav")
                            .arg(heard->audibleSeconds())));
}

QTEST_GUILESS_MAIN(RealSoundTest)
#include "tst_realsound.moc"
