#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace brightsum {

// The first channel of a 16-bit PCM wave file, for measuring what a file or a recording holds.
struct WaveSamples {
    std::uint32_t sampleRate = 0;
    std::vector<std::int16_t> samples;

    static std::optional<WaveSamples> read(const std::filesystem::path& file);

    // Seconds from the first to the last sample louder than the threshold (0.5 % of full
    // scale by default, the level sox's silence effect is usually given); 0 for silence.
    double audibleSeconds(int threshold = 164) const;
    int peak() const;
    double peakDbfs() const;
};

}  // namespace brightsum
