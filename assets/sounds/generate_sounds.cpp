// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the game's seven cues into the folder given on the command line: 16-bit mono PCM
// wave files at 44100 Hz, synthesised here from sine partials, so the sounds are our own and
// rebuild identically everywhere.

#include "Cue.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <system_error>
#include <vector>

namespace {

constexpr int kRate = 44100;
// Cues peak at -6 dBFS: loud enough over game noise, far from clipping.
constexpr double kPeakDb = -6.0;

// One sine component of a note: frequency as a multiple of the note's, level, and the time
// constant of its exponential decay in seconds (0 keeps it steady).
struct Partial {
    double ratio;
    double level;
    double decay;
};
using Timbre = std::vector<Partial>;

// A soft sine with a hint of octave: the click of a board button.
const Timbre kPip{{1.0, 1.0, 0.030}, {2.0, 0.12, 0.015}};
// Struck bar, bright but round.
const Timbre kMallet{{1.0, 1.0, 0.45}, {2.0, 0.30, 0.18}, {3.0, 0.12, 0.08}, {4.2, 0.06, 0.04}};
// Hollow and mellow, for the cues that must not sound harsh.
const Timbre kFlute{{1.0, 1.0, 0.0}, {2.0, 0.30, 0.0}, {3.0, 0.10, 0.0}};
// Odd partials: a soft square-like tone.
const Timbre kReed{{1.0, 1.0, 0.60}, {3.0, 0.22, 0.30}, {5.0, 0.08, 0.15}};
// A mild brass: many steady harmonics falling off gently.
const Timbre kHorn{{1.0, 1.0, 0.0},  {2.0, 0.65, 0.0}, {3.0, 0.40, 0.0},
                   {4.0, 0.24, 0.0}, {5.0, 0.14, 0.0}, {6.0, 0.07, 0.0}};
// A small bell: inharmonic partials that die away faster the higher they are.
const Timbre kBell{{1.0, 1.0, 0.70},
                   {2.0, 0.40, 0.45},
                   {2.76, 0.28, 0.30},
                   {5.40, 0.10, 0.12},
                   {8.93, 0.04, 0.06}};

double noteFrequency(int midi) {
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

// Note numbers of the tempered scale.
enum : int { F3 = 53, A3 = 57, G4 = 67, C5 = 72, E5 = 76, G5 = 79, C6 = 84, E6 = 88 };

struct Note {
    double start;   // seconds from the start of the cue
    double length;  // seconds, release included
    int pitch;
    const Timbre* timbre;
    double level = 1.0;
    double attack = 0.008;   // seconds of soft rise
    double release = 0.040;  // seconds of soft fall at the end of the note
    double glide = 1.0;      // frequency at the end as a multiple of the frequency at the start
};

class Cue {
public:
    explicit Cue(double peakDb = kPeakDb) : m_peak(std::pow(10.0, peakDb / 20.0)) {}

    void add(const Note& note) { m_notes.push_back(note); }

    std::vector<std::int16_t> render() const {
        double end = 0.0;
        for (const Note& n : m_notes) {
            end = std::max(end, n.start + n.length);
        }
        std::vector<double> mix(static_cast<std::size_t>(std::ceil(end * kRate)), 0.0);
        for (const Note& n : m_notes) {
            addNote(mix, n);
        }
        double peak = 0.0;
        for (double s : mix) {
            peak = std::max(peak, std::abs(s));
        }
        std::vector<std::int16_t> samples(mix.size());
        const double gain = peak > 0.0 ? m_peak / peak : 0.0;
        for (std::size_t i = 0; i < mix.size(); ++i) {
            samples[i] = static_cast<std::int16_t>(std::lround(mix[i] * gain * 32767.0));
        }
        return samples;
    }

private:
    static void addNote(std::vector<double>& mix, const Note& n) {
        const double f0 = noteFrequency(n.pitch);
        const auto first = static_cast<std::size_t>(std::lround(n.start * kRate));
        const auto count = static_cast<std::size_t>(std::lround(n.length * kRate));
        const double logGlide = std::log(n.glide);
        for (std::size_t i = 0; i < count && first + i < mix.size(); ++i) {
            const double t = static_cast<double>(i) / kRate;
            // Raised-cosine edges: no step at either end, so no click.
            double envelope = 1.0;
            if (t < n.attack) {
                envelope = std::pow(std::sin(std::numbers::pi / 2 * t / n.attack), 2);
            }
            const double tail = n.length - t;
            if (tail < n.release) {
                envelope *= std::pow(std::sin(std::numbers::pi / 2 * tail / n.release), 2);
            }
            // Phase of an exponential glide, integrated exactly.
            const double cycles =
                std::abs(logGlide) < 1e-9
                    ? f0 * t
                    : f0 * n.length * (std::exp(logGlide * t / n.length) - 1) / logGlide;
            double value = 0.0;
            for (const Partial& p : *n.timbre) {
                const double decay = p.decay > 0.0 ? std::exp(-t / p.decay) : 1.0;
                value += p.level * decay * std::sin(2 * std::numbers::pi * p.ratio * cycles);
            }
            mix[first + i] += n.level * envelope * value;
        }
    }

    double m_peak;
    std::vector<Note> m_notes;
};

void put16(std::string& out, std::uint16_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}

void put32(std::string& out, std::uint32_t v) {
    put16(out, static_cast<std::uint16_t>(v & 0xFFFF));
    put16(out, static_cast<std::uint16_t>(v >> 16));
}

// Writes beside the target and renames, so an interrupted build never leaves a torn file.
bool writeWave(const std::filesystem::path& file, const std::vector<std::int16_t>& samples) {
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::string bytes;
    bytes.reserve(44 + dataBytes);
    bytes += "RIFF";
    put32(bytes, 36 + dataBytes);
    bytes += "WAVEfmt ";
    put32(bytes, 16);
    put16(bytes, 1);  // integer PCM
    put16(bytes, 1);  // mono
    put32(bytes, kRate);
    put32(bytes, kRate * 2);
    put16(bytes, 2);
    put16(bytes, 16);
    bytes += "data";
    put32(bytes, dataBytes);
    for (std::int16_t s : samples) {
        put16(bytes, static_cast<std::uint16_t>(s));
    }

    std::filesystem::path temporary = file;
    temporary += ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, file, error);
    return !error;
}

Cue selectCue() {
    // A short rising pip; the window waits for it, so it stays near 55 ms.
    Cue cue;
    cue.add({.start = 0.0,
             .length = 0.055,
             .pitch = E5 + 5,
             .timbre = &kPip,
             .attack = 0.003,
             .release = 0.025,
             .glide = 1.5});
    return cue;
}

Cue goodCue() {
    // An arpeggio up the major chord, the top note left to ring.
    Cue cue;
    const int pitches[] = {C5, E5, G5, C6};
    for (int i = 0; i < 4; ++i) {
        const bool last = i == 3;
        cue.add({.start = 0.075 * i,
                 .length = last ? 0.40 : 0.12,
                 .pitch = pitches[i],
                 .timbre = &kMallet,
                 .attack = 0.004,
                 .release = last ? 0.15 : 0.04});
    }
    return cue;
}

Cue badCue() {
    // Two soft low notes, a third apart, sagging a little: "oh-oh", not a buzzer. Steady
    // low partials carry more energy than the struck cues, so it peaks a little lower.
    Cue cue(kPeakDb - 2.0);
    cue.add({.start = 0.0,
             .length = 0.22,
             .pitch = A3,
             .timbre = &kFlute,
             .attack = 0.03,
             .release = 0.06});
    cue.add({.start = 0.20,
             .length = 0.36,
             .pitch = F3,
             .timbre = &kFlute,
             .attack = 0.03,
             .release = 0.16,
             .glide = 0.97});
    return cue;
}

Cue timeUpCue() {
    // Down the major chord, the low note held.
    Cue cue;
    const int pitches[] = {G5, E5, C5, G4};
    for (int i = 0; i < 4; ++i) {
        const bool last = i == 3;
        cue.add({.start = 0.13 * i,
                 .length = last ? 0.40 : 0.14,
                 .pitch = pitches[i],
                 .timbre = &kReed,
                 .attack = 0.006,
                 .release = last ? 0.20 : 0.05});
    }
    return cue;
}

Cue finishCue() {
    // Three pickup notes and a held chord.
    Cue cue;
    const int pickup[] = {G4, C5, E5};
    for (int i = 0; i < 3; ++i) {
        cue.add({.start = 0.13 * i,
                 .length = 0.12,
                 .pitch = pickup[i],
                 .timbre = &kHorn,
                 .level = 0.9,
                 .attack = 0.02,
                 .release = 0.04});
    }
    for (int pitch : {C5, E5, G5}) {
        cue.add({.start = 0.39,
                 .length = 0.55,
                 .pitch = pitch,
                 .timbre = &kHorn,
                 .level = pitch == G5 ? 0.8 : 0.5,
                 .attack = 0.025,
                 .release = 0.25});
    }
    return cue;
}

Cue highScoreCue() {
    // A longer call: three repeated notes up to a held one, a run up, and a full final chord.
    Cue cue;
    for (int i = 0; i < 3; ++i) {
        cue.add({.start = 0.13 * i,
                 .length = 0.11,
                 .pitch = G4,
                 .timbre = &kHorn,
                 .level = 0.9,
                 .attack = 0.015,
                 .release = 0.035});
    }
    cue.add({.start = 0.39,
             .length = 0.35,
             .pitch = C5,
             .timbre = &kHorn,
             .attack = 0.02,
             .release = 0.10});
    const int run[] = {G4, C5, E5};
    for (int i = 0; i < 3; ++i) {
        cue.add({.start = 0.78 + 0.16 * i,
                 .length = 0.14,
                 .pitch = run[i],
                 .timbre = &kHorn,
                 .level = 0.9,
                 .attack = 0.015,
                 .release = 0.04});
    }
    for (int pitch : {C5, E5, G5, C6}) {
        cue.add({.start = 1.26,
                 .length = 0.85,
                 .pitch = pitch,
                 .timbre = &kHorn,
                 .level = pitch == C6 ? 0.7 : 0.45,
                 .attack = 0.03,
                 .release = 0.40});
    }
    cue.add({.start = 1.26,
             .length = 0.85,
             .pitch = C6,
             .timbre = &kBell,
             .level = 0.5,
             .attack = 0.003,
             .release = 0.40});
    return cue;
}

Cue showHighScoresCue() {
    // Three bells rising, each left to ring out.
    Cue cue;
    const int pitches[] = {G5, C6, E6};
    for (int i = 0; i < 3; ++i) {
        const double start = 0.16 * i;
        cue.add({.start = start,
                 .length = 1.30 - start,
                 .pitch = pitches[i],
                 .timbre = &kBell,
                 .attack = 0.003,
                 .release = 0.35});
    }
    return cue;
}

Cue synthesise(brightsum::Cue cue) {
    switch (cue) {
        case brightsum::Cue::Select:
            return selectCue();
        case brightsum::Cue::Good:
            return goodCue();
        case brightsum::Cue::Bad:
            return badCue();
        case brightsum::Cue::TimeUp:
            return timeUpCue();
        case brightsum::Cue::Finish:
            return finishCue();
        case brightsum::Cue::HighScore:
            return highScoreCue();
        case brightsum::Cue::ShowHighScores:
            return showHighScoresCue();
    }
    return Cue();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);

    for (const brightsum::CueInfo& info : brightsum::kCues) {
        const std::filesystem::path path = folder / info.file;
        if (!writeWave(path, synthesise(info.cue).render())) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0],
                         reinterpret_cast<const char*>(path.u8string().c_str()));
            return 1;
        }
    }
    return 0;
}
