// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>

namespace brightsum {

// The format and length of a RIFF wave file, read from its header alone.
struct WaveFileInfo {
    std::uint16_t formatTag = 0;  // 1 is integer PCM; an extensible file reports its sub-format
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
    std::uint64_t dataOffset = 0;  // where the samples start in the file
    std::uint64_t dataBytes = 0;   // sample bytes the file really holds (a torn file is shorter)

    std::uint64_t frames() const { return dataBytes / blockAlign; }
    std::chrono::microseconds duration() const;

    // Nothing when the file cannot be read or is not a wave file with a usable format, as
    // WaveFile::open decides.
    static std::optional<WaveFileInfo> read(const std::filesystem::path& file);
    // Reads count bytes of the file from offset into `into`; false when it cannot read them all.
    using ReadAt =
        std::function<bool(std::uint64_t offset, unsigned char* into, std::size_t count)>;
    // The header of a file of fileSize bytes, however it is read.
    static std::optional<WaveFileInfo> parse(const ReadAt& readAt, std::uint64_t fileSize);
};

}  // namespace brightsum
