#include "WaveSamples.h"

#include "WaveFileInfo.h"

#include <cmath>
#include <cstdlib>
#include <fstream>

namespace brightsum {

std::optional<WaveSamples> WaveSamples::read(const std::filesystem::path& file) {
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
    WaveSamples wave;
    wave.sampleRate = info->sampleRate;
    wave.samples.reserve(info->frames());
    for (std::size_t at = 0; at + 1 < bytes.size(); at += info->blockAlign) {
        const auto lo = static_cast<unsigned char>(bytes[at]);
        const auto hi = static_cast<unsigned char>(bytes[at + 1]);
        wave.samples.push_back(static_cast<std::int16_t>(lo | (hi << 8)));
    }
    return wave;
}

double WaveSamples::audibleSeconds(int threshold) const {
    std::size_t first = samples.size();
    std::size_t last = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (std::abs(samples[i]) > threshold) {
            first = std::min(first, i);
            last = i;
        }
    }
    return first < samples.size() ? static_cast<double>(last - first + 1) / sampleRate : 0.0;
}

int WaveSamples::peak() const {
    int peak = 0;
    for (std::int16_t s : samples) {
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    }
    return peak;
}

double WaveSamples::peakDbfs() const {
    return 20.0 * std::log10(std::max(peak(), 1) / 32768.0);
}

}  // namespace brightsum
