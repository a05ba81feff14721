// SPDX-License-Identifier: GPL-3.0-or-later
// The cues through winmm, heard: under Wine, winmm plays through the test desktop's sound
// server, whose null sink is also the default recording source, so what the sink plays is
// recorded through winmm's own waveIn. Wine loses very short sounds, so the cues here are
// long ones. Skips without that server (PULSE_SERVER), as on a real Windows machine.

#include "Cue.h"
#include "WaveSamples.h"
#include "WinmmSoundPlayer.h"

#include <QElapsedTimer>
#include <QTest>

#include <windows.h>
// After windows.h, which it needs.
#include <mmsystem.h>

#include <chrono>
#include <filesystem>
#include <thread>

using namespace brightsum;

namespace {

const std::filesystem::path kProgramFolder = BRIGHTSUM_PROGRAM_DIR;
constexpr DWORD kRate = 44100;

double audibleLengthOf(const char* file) {
    const auto wave = WaveSamples::read(kProgramFolder / file);
    return wave ? wave->audibleSeconds() : 0.0;
}

// Records the default source, mono, from construction until samples().
class Recorder {
public:
    Recorder() : m_samples(kRate * 8) {
        WAVEFORMATEX format{};
        format.wFormatTag = WAVE_FORMAT_PCM;
        format.nChannels = 1;
        format.nSamplesPerSec = kRate;
        format.wBitsPerSample = 16;
        format.nBlockAlign = 2;
        format.nAvgBytesPerSec = kRate * 2;
        if (::waveInOpen(&m_in, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
            m_in = nullptr;
            return;
        }
        m_header.lpData = reinterpret_cast<LPSTR>(m_samples.data());
        m_header.dwBufferLength = static_cast<DWORD>(m_samples.size() * 2);
        ::waveInPrepareHeader(m_in, &m_header, sizeof m_header);
        ::waveInAddBuffer(m_in, &m_header, sizeof m_header);
        ::waveInStart(m_in);
    }
    ~Recorder() {
        if (m_in != nullptr) {
            ::waveInReset(m_in);
            ::waveInUnprepareHeader(m_in, &m_header, sizeof m_header);
            ::waveInClose(m_in);
        }
    }
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    bool isOpen() const { return m_in != nullptr; }

    // What was heard so far; ends the recording.
    WaveSamples samples() {
        ::waveInReset(m_in);  // hands back the buffer, filled as far as it got
        WaveSamples heard{kRate, m_samples};
        heard.samples.resize(m_header.dwBytesRecorded / 2);
        return heard;
    }

private:
    HWAVEIN m_in = nullptr;
    WAVEHDR m_header{};
    std::vector<std::int16_t> m_samples;
};

}  // namespace

class WinmmSoundTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void heard_data();
    void heard();
    void waitedCueReleasesTheCallerAtItsEnd();
};

void WinmmSoundTest::initTestCase() {
    if (qEnvironmentVariableIsEmpty("PULSE_SERVER")) {
        QSKIP("no test desktop's sound server (scripts/desktop-env.sh)");
    }
    QVERIFY(audibleLengthOf("hiscore.wav") > 1.5);
    QVERIFY(audibleLengthOf("good.wav") > 0.5);
}

void WinmmSoundTest::heard_data() {
    QTest::addColumn<int>("cutAfterMs");  // 0: the first cue plays alone

    // A cue the system never sounds, sounds from memory already let go, or stops early.
    QTest::newRow("a long cue plays whole") << 0;
    // A newer cue that mixes with the older, or waits for its end, instead of cutting it.
    QTest::newRow("a newer cue cuts the older short") << 500;
}

void WinmmSoundTest::heard() {
    QFETCH(int, cutAfterMs);

    Recorder recorder;
    QVERIFY(recorder.isOpen());
    double handedApart = 0;
    {
        WinmmSoundPlayer player(kProgramFolder);
        // The sink's monitor starts recording a moment after it is opened.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        QElapsedTimer apart;
        apart.start();
        player.PlaySoundCue(Cue::HighScore, CueMode::Async);
        if (cutAfterMs > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(cutAfterMs));
            handedApart = apart.nsecsElapsed() / 1e9;
            player.PlaySoundCue(Cue::Good, CueMode::Async);
        }
        std::this_thread::sleep_for(std::chrono::seconds(3));
    }
    const double seconds = recorder.samples().audibleSeconds();
    const QByteArray heard = QByteArray::number(seconds);

    if (cutAfterMs == 0) {
        const double whole = audibleLengthOf("hiscore.wav");
        QVERIFY2(seconds >= 0.95 * whole - 0.05 && seconds < whole + 0.25, heard);
    } else {
        // The older cue up to the newer, then the newer whole.
        const double expected = handedApart + audibleLengthOf("good.wav");
        QVERIFY2(seconds > expected - 0.25 && seconds < expected + 0.25, heard);
    }
}

// winmm tells no end: the back end names it from the file's length, and a waited cue lets
// its caller go then, not after the player's grace of a second on top.
void WinmmSoundTest::waitedCueReleasesTheCallerAtItsEnd() {
    WinmmSoundPlayer player(kProgramFolder);
    QElapsedTimer held;
    held.start();
    player.PlaySoundCue(Cue::Good, CueMode::Wait);
    const double seconds = held.nsecsElapsed() / 1e9;
    const auto info = WaveFileInfo::read(kProgramFolder / "good.wav");
    QVERIFY(info);
    const double length = info->duration().count() / 1e6;
    QVERIFY2(seconds > 0.9 * length && seconds < length + 0.5, QByteArray::number(seconds));
}

QTEST_GUILESS_MAIN(WinmmSoundTest)
#include "tst_winmmsound.moc"
