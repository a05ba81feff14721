// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "WaveFileInfo.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

namespace brightsum {

// A wave file opened for playing: a regular file of a size and format that a sound cue can
// have, with its header read. Anything else is no wave file at all, however it fails: a FIFO,
// a pipe or a device in its place (refused without opening it, and opening never waits), a
// file too large to be a cue, a sample rate no sound card plays, a torn header. The same file
// is played whatever happens to its name meanwhile: on POSIX systems it stays open; on Windows
// it is read whole when opened, as the system plays a cue from memory.
class WaveFile {
public:
    // Far above any cue (23 s of CD-quality stereo), and below what a sound server takes into
    // its sample cache.
    static constexpr std::uint64_t kMaxBytes = 4 * 1024 * 1024;
    // The rates sound cards and sound servers play.
    static constexpr std::uint32_t kMinSampleRate = 4000;
    static constexpr std::uint32_t kMaxSampleRate = 384000;

    static std::optional<WaveFile> open(const std::filesystem::path& path);

    WaveFile(WaveFile&& other) noexcept;
    WaveFile& operator=(WaveFile&& other) noexcept;
    ~WaveFile();

    const std::filesystem::path& path() const { return m_path; }
    const WaveFileInfo& info() const { return m_info; }
#ifdef _WIN32
    using Bytes = std::shared_ptr<const std::vector<unsigned char>>;
    // The whole file, as it was when opened; a back end keeps it for as long as it sounds.
    const Bytes& bytes() const {
        return m_bytes;
    }
#else
    // The open file, for a back end that can play from it.
    int descriptor() const {
        return m_descriptor;
    }
#endif

private:
    std::filesystem::path m_path;
#ifdef _WIN32
    WaveFile(std::filesystem::path path, Bytes bytes, const WaveFileInfo& info);
    Bytes m_bytes;
#else
    WaveFile(std::filesystem::path path, int descriptor, const WaveFileInfo& info);
    int m_descriptor = -1;
#endif
    WaveFileInfo m_info;
};

}  // namespace brightsum
