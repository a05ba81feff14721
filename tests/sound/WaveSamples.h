// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "WaveFileInfo.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <vector>

namespace brightsum {

// The first channel of a 16-bit PCM wave file, for measuring what a file or a recording holds.
struct WaveSamples {
    std::uint32_t sampleRate = 0;
    std::vector<std::int16_t> samples;

    static std::optional<WaveSamples> read(const std::filesystem::path& file) {
        const auto info = WaveFileInfo::read(file);
        if (!info || info->formatTag != 1 || info->bitsPerSample != 16) {
            return std::nullopt;
        }
        std::ifstream in(file, std::ios::binary);
        in.seekg(static_cast<std::streamoff>(info->dataOffset));
        std::vector<char> bytes(info->dataBytes);
        if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
            return std::nullopt;
        }
        WaveSamples wave{info->sampleRate, {}};
        for (std::size_t at = 0; at + 1 < bytes.size(); at += info->blockAlign) {
            wave.samples.push_back(
                static_cast<std::int16_t>(static_cast<unsigned char>(bytes[at]) |
                                          (static_cast<unsigned char>(bytes[at + 1]) << 8)));
        }
        return wave;
    }

    // Seconds from the first to the last sample louder than 0.5 % of full scale (the level
    // sox's silence effect is usually given); 0 for silence.
    double audibleSeconds() const {
        const auto loud = [](std::int16_t s) { return std::abs(s) > 164; };
        const auto first = std::find_if(samples.begin(), samples.end(), loud);
        if (first == samples.end()) {
            return 0.0;
        }
        const auto last = std::find_if(samples.rbegin(), samples.rend(), loud).base();
        return static_cast<double>(last - first) / sampleRate;
    }

    int peak() const {
        int peak = 0;
        for (std::int16_t s : samples) {
            peak = std::max(peak, std::abs(static_cast<int>(s)));
        }
        return peak;
    }
};

}  // namespace brightsum
