// SPDX-License-Identifier: GPL-3.0-or-later
// The wave files the build generates, the header reader that tells the player how long a cue
// lasts, and what the player makes of a file that is no sane wave file.

#include "PlayingCue.h"
#include "SoundBackEnd.h"
#include "SoundCuePlayer.h"
#include "WaveFileInfo.h"
#include "WaveSamples.h"

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include <cmath>
#include <cstdint>
#include <mutex>
#include <thread>

using namespace brightsum;

namespace {

// A path from Qt's text, whole on every system (a plain std::string is taken as the ANSI code
// page on Windows).
std::filesystem::path toPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

QByteArray le16(int v) {
    QByteArray b(2, '\0');
    b[0] = static_cast<char>(v & 0xFF);
    b[1] = static_cast<char>((v >> 8) & 0xFF);
    return b;
}

QByteArray le32(std::uint32_t v) {
    return le16(static_cast<int>(v & 0xFFFF)) + le16(static_cast<int>(v >> 16));
}

QByteArray chunk(const char* id, const QByteArray& body, std::uint32_t claimedSize = 0) {
    QByteArray c = QByteArray(id, 4) + le32(claimedSize ? claimedSize : body.size()) + body;
    if (body.size() % 2 != 0) {
        c += '\0';
    }
    return c;
}

QByteArray fmtBody(int tag, int channels, std::uint32_t rate, int bits) {
    const int align = channels * ((bits + 7) / 8);
    return le16(tag) + le16(channels) + le32(rate) + le32(rate * align) + le16(align) + le16(bits);
}

QByteArray extensibleFmtBody(int subFormat, int channels, std::uint32_t rate, int bits) {
    QByteArray guidTail("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);
    return fmtBody(0xFFFE, channels, rate, bits) + le16(22) + le16(bits) + le32(0) +
           le16(subFormat) + guidTail;
}

QByteArray riff(const QByteArray& chunks, const char* form = "WAVE") {
    return "RIFF" + le32(4 + chunks.size()) + QByteArray(form, 4) + chunks;
}

// What the player asked of its back end. A file never ends by itself, as on a server that never
// reports the end; the alert ends at once.
struct BackEndLog {
    std::mutex mutex;
    QStringList calls;
};

class RecordingBackEnd final : public SoundBackEnd {
public:
    explicit RecordingBackEnd(std::shared_ptr<BackEndLog> log) : m_log(std::move(log)) {}

    Start playFile(const WaveFile&, const std::string&,
                   const std::shared_ptr<PlayingCue>& cue) override {
        add("file");
        m_current = cue;
        return Start::Playing;
    }
    Start playAlert(const std::string&, const std::shared_ptr<PlayingCue>& cue) override {
        add("alert");
        cue->ended();
        return Start::Playing;
    }
    void stop() override {
        if (m_current) {
            m_current->ended();
        }
    }

private:
    void add(const QString& call) {
        std::lock_guard lock(m_log->mutex);
        m_log->calls << call;
    }

    std::shared_ptr<BackEndLog> m_log;
    std::shared_ptr<PlayingCue> m_current;
};

// What the player asked of its back end for a waited click in this program folder, and how
// long it held the caller.
QStringList playSelect(const QString& folder, double* seconds) {
    auto log = std::make_shared<BackEndLog>();
    {
        SoundCuePlayer player(toPath(folder),
                              [log] { return std::make_unique<RecordingBackEnd>(log); }, {});
        QElapsedTimer held;
        held.start();
        player.PlaySoundCue(Cue::Select, CueMode::Wait);
        *seconds = held.nsecsElapsed() / 1e9;
    }
    std::lock_guard lock(log->mutex);
    return log->calls;
}

}  // namespace

class WaveFilesTest : public QObject {
    Q_OBJECT

private slots:
    void headerReader_data();
    void headerReader();
    void generatedCues_data();
    void generatedCues();
    void insaneFileSoundsTheAlertWithoutHoldingTheBoard_data();
    void insaneFileSoundsTheAlertWithoutHoldingTheBoard();
    void cueInAFolderNamedInAnyLettersIsPlayed();
    void endNamedByASystemThatReportsNoneReleasesTheCaller();
};

void WaveFilesTest::headerReader_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("formatTag");
    QTest::addColumn<qint64>("frames");
    QTest::addColumn<qint64>("micros");

    const QByteArray fmt16 = chunk("fmt ", fmtBody(1, 1, 44100, 16));
    QTest::newRow("16-bit mono, 50 ms") << riff(fmt16 + chunk("data", QByteArray(4410, '\1')))
                                        << true << 1 << qint64(2205) << qint64(50000);
    QTest::newRow("extensible gives its sub-format")
        << riff(chunk("fmt ", extensibleFmtBody(1, 2, 48000, 24)) +
                chunk("data", QByteArray(6 * 480, '\0')))
        << true << 1 << qint64(480) << qint64(10000);
    QTest::newRow("odd-sized chunk before data is followed by a pad byte")
        << riff(fmt16 + chunk("LIST", "abc") + chunk("data", QByteArray(882, '\1'))) << true << 1
        << qint64(441) << qint64(10000);
    QTest::newRow("torn file counts only the samples it holds")
        << riff(fmt16 + chunk("data", QByteArray(1000, '\1'), 88200)) << true << 1 << qint64(500)
        << qint64(11337);

    const auto invalid = [](const char* name, const QByteArray& bytes) {
        QTest::newRow(name) << bytes << false << 0 << qint64(0) << qint64(0);
    };
    invalid("empty file", QByteArray());
    invalid("RIFF of another form", riff(fmt16 + chunk("data", "xx"), "AVI "));
    invalid("data before its format", riff(chunk("data", "xxxx") + fmt16));
    invalid("zero sample rate", riff(chunk("fmt ", fmtBody(1, 1, 0, 16)) + chunk("data", "xx")));
    invalid("zero block align",
            riff(chunk("fmt ", le16(1) + le16(1) + le32(8000) + le32(8000) + le16(0) + le16(16)) +
                 chunk("data", "xx")));
    invalid("format chunk too short",
            riff(chunk("fmt ", fmtBody(1, 1, 8000, 16).left(14)) + chunk("data", "xx")));
    invalid("format chunk runs past the end", riff(chunk("fmt ", QByteArray(), 16)));
}

void WaveFilesTest::headerReader() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, valid);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("cue.wav");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();

    const auto info = WaveFileInfo::read(toPath(path));
    QCOMPARE(info.has_value(), valid);
    if (!valid) {
        return;
    }
    QTEST(int(info->formatTag), "formatTag");
    QTEST(qint64(info->frames()), "frames");
    QTEST(qint64(info->duration().count()), "micros");
}

void WaveFilesTest::generatedCues_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<double>("minSeconds");
    QTest::addColumn<double>("maxSeconds");

    // The board click holds up the window while it sounds, so it must stay short.
    QTest::newRow("select") << "select.wav" << 0.030 << 0.080;
    QTest::newRow("good") << "good.wav" << 0.3 << 1.0;
    QTest::newRow("bad") << "bad.wav" << 0.3 << 1.0;
    QTest::newRow("timeup") << "timeup.wav" << 0.4 << 1.5;
    QTest::newRow("finish") << "finish.wav" << 0.5 << 1.5;
    QTest::newRow("hiscore") << "hiscore.wav" << 1.2 << 3.0;
    QTest::newRow("showhi") << "showhi.wav" << 0.6 << 2.0;
}

void WaveFilesTest::generatedCues() {
    QFETCH(QString, file);
    QFETCH(double, minSeconds);
    QFETCH(double, maxSeconds);

    const QString path = QStringLiteral(BRIGHTSUM_PROGRAM_DIR "/") + file;
    QFile raw(path);
    QVERIFY2(raw.open(QIODevice::ReadOnly), qPrintable(path));
    const QByteArray bytes = raw.readAll();

    // A RIFF size that disagrees with the file makes some players stop early or refuse it.
    QCOMPARE(bytes.left(4) + bytes.mid(8, 4), QByteArray("RIFFWAVE"));
    QCOMPARE(bytes.mid(4, 4), le32(static_cast<std::uint32_t>(bytes.size() - 8)));
    const auto info = WaveFileInfo::read(toPath(path));
    QVERIFY(info);
    // The format every player reads, with the samples running to the end of the file.
    QCOMPARE(QString("%1 %2 %3 %4")
                 .arg(info->formatTag)
                 .arg(info->channels)
                 .arg(info->bitsPerSample)
                 .arg(info->sampleRate),
             QStringLiteral("1 1 16 44100"));
    QCOMPARE(qint64(info->dataOffset + info->dataBytes), qint64(bytes.size()));
    const double seconds = info->duration().count() / 1e6;
    QVERIFY2(seconds >= minSeconds && seconds <= maxSeconds, qPrintable(QString::number(seconds)));

    const auto wave = WaveSamples::read(toPath(path));
    QVERIFY(wave);
    // Loud enough to hear, with headroom: no clipped sample.
    const double peakDbfs = 20.0 * std::log10(wave->peak() / 32768.0);
    QVERIFY2(peakDbfs > -10.0 && peakDbfs < -4.0, qPrintable(QString::number(peakDbfs)));
    // Sound from end to end, not a blip padded with silence.
    QVERIFY(wave->audibleSeconds() > 0.7 * seconds);
    // Faded in and out: a sound that starts or stops at full swing is heard as a click.
    const auto& samples = wave->samples;
    QVERIFY(std::abs(samples.front()) < 100 && std::abs(samples.back()) < 100);
    const int edge = 22;  // half a millisecond
    for (int i = 0; i < edge; ++i) {
        QVERIFY2(std::abs(samples[i]) < wave->peak() / 4, qPrintable(QString("start %1").arg(i)));
        QVERIFY2(std::abs(samples[samples.size() - 1 - i]) < wave->peak() / 4,
                 qPrintable(QString("end %1").arg(i)));
    }
}

void WaveFilesTest::insaneFileSoundsTheAlertWithoutHoldingTheBoard_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qint64>("size");  // 0: as long as the bytes
    QTest::addColumn<QString>("played");
    QTest::addColumn<double>("maxSeconds");

    // A click's sound is waited for: nothing a file claims may hold the board long.
    const QByteArray fmt16 = chunk("fmt ", fmtBody(1, 1, 44100, 16));
#ifdef _WIN32
    QTest::newRow("named pipe, which would block whoever reads it")
        << "pipe" << QByteArray() << qint64(0) << "alert" << 1.0;
#else
    QTest::newRow("FIFO, which would block whoever opens it")
        << "fifo" << QByteArray() << qint64(0) << "alert" << 1.0;
    QTest::newRow("device") << "device" << QByteArray() << qint64(0) << "alert" << 1.0;
#endif
    QTest::newRow("40 MB, four minutes long")
        << "file" << riff(fmt16 + chunk("data", {}, 40'000'000)) << qint64(40'000'044) << "alert"
        << 1.0;
    QTest::newRow("a sample rate of 1 Hz: 10 s in 20 bytes")
        << "file" << riff(chunk("fmt ", fmtBody(1, 1, 1, 16)) + chunk("data", QByteArray(20, 1)))
        << qint64(0) << "alert" << 1.0;
    QTest::newRow("header torn in its format chunk")
        << "file" << riff(fmt16 + chunk("data", QByteArray(4410, 1))).left(30) << qint64(0)
        << "alert" << 1.0;
    QTest::newRow("sane but 10 s long: played, and waited for a short while only")
        << "file" << riff(fmt16 + chunk("data", QByteArray(882000, 1))) << qint64(0) << "file"
        << 4.0;
}

void WaveFilesTest::insaneFileSoundsTheAlertWithoutHoldingTheBoard() {
    QFETCH(QString, kind);
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, size);
    QFETCH(QString, played);
    QFETCH(double, maxSeconds);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString folder = dir.path();
    const QString path = dir.filePath("select.wav");
#ifdef _WIN32
    // A pipe named like a cue in a folder of pipes; nothing ever writes to it.
    HANDLE pipe = INVALID_HANDLE_VALUE;
    const auto closePipe = qScopeGuard([&pipe] { ::CloseHandle(pipe); });
    if (kind == "pipe") {
        folder = QString("\\\\.\\pipe\\brightsum-%1").arg(::GetCurrentProcessId());
        pipe = ::CreateNamedPipeW((folder + "\\select.wav").toStdWString().c_str(),
                                  PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1, 4096, 4096, 0, nullptr);
        QVERIFY(pipe != INVALID_HANDLE_VALUE);
    } else {
#else
    if (kind == "fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
    } else if (kind == "device") {
        QVERIFY(QFile::link("/dev/zero", path));
    } else {
#endif
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
        QVERIFY(size == 0 || file.resize(size));  // sparse: no 40 MB written
    }

    double seconds = 0;
    QCOMPARE(playSelect(folder, &seconds), QStringList{played});
    QVERIFY2(seconds < maxSeconds, qPrintable(QString("held the caller %1 s").arg(seconds)));
}

// The program folder may be named in any letters. A wave file opened by a narrow path on
// Windows (the ANSI code page) would be missing there, and the alert would sound instead.
void WaveFilesTest::cueInAFolderNamedInAnyLettersIsPlayed() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.filePath(QString::fromUtf8("Ελληνικά 中文 ☺"));
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(
        QFile::copy(QStringLiteral(BRIGHTSUM_PROGRAM_DIR "/select.wav"), folder + "/select.wav"));
    double seconds = 0;
    QCOMPARE(playSelect(folder, &seconds), QStringList{"file"});
}

// A system that reports no end (winmm) names it instead: the caller must go on then, not
// wait out its bound of length and grace.
void WaveFilesTest::endNamedByASystemThatReportsNoneReleasesTheCaller() {
    PlayingCue cue;
    const auto start = PlayingCue::Clock::now();
    std::thread backEnd([&cue, start] { cue.endsBy(start + std::chrono::milliseconds(100)); });
    cue.waitUntil(start + std::chrono::seconds(10));
    backEnd.join();
    const auto waited = PlayingCue::Clock::now() - start;
    QVERIFY(cue.hasEnded());
    QVERIFY2(waited >= std::chrono::milliseconds(100) && waited < std::chrono::seconds(5),
             qPrintable(QString::number(waited.count() / 1e9)));
}

QTEST_GUILESS_MAIN(WaveFilesTest)
#include "tst_wavefiles.moc"
