// SPDX-License-Identifier: GPL-3.0-or-later
#include "WaveFileInfo.h"

#include "WaveFile.h"

#include <algorithm>
#include <array>

namespace brightsum {

namespace {

constexpr std::uint16_t kFormatExtensible = 0xFFFE;

std::uint16_t le16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t le32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool tagIs(const unsigned char* p, const char (&tag)[5]) {
    return p[0] == tag[0] && p[1] == tag[1] && p[2] == tag[2] && p[3] == tag[3];
}

}  // namespace

std::chrono::microseconds WaveFileInfo::duration() const {
    // frames * 1e6 / rate, kept in integers; a wave file is far too short to overflow.
    return std::chrono::microseconds(static_cast<std::int64_t>(frames() * 1'000'000 / sampleRate));
}

std::optional<WaveFileInfo> WaveFileInfo::read(const std::filesystem::path& file) {
    const auto wave = WaveFile::open(file);
    return wave ? std::optional(wave->info()) : std::nullopt;
}

std::optional<WaveFileInfo> WaveFileInfo::parse(const ReadAt& read, std::uint64_t fileSize) {
    // Whole reads at given offsets; a file that ends early gives no header.
    const auto readAt = [&read, fileSize](std::uint64_t offset, unsigned char* into,
                                          std::uint64_t count) {
        return offset + count <= fileSize && read(offset, into, static_cast<std::size_t>(count));
    };

    std::array<unsigned char, 12> riff{};
    if (!readAt(0, riff.data(), riff.size()) || !tagIs(riff.data(), "RIFF") ||
        !tagIs(riff.data() + 8, "WAVE")) {
        return std::nullopt;
    }

    WaveFileInfo info;
    bool haveFormat = false;
    std::uint64_t pos = riff.size();
    // Walk the chunks up to "data"; anything else ("LIST", "fact", ...) is skipped, with the
    // pad byte that follows a chunk of odd size.
    while (pos + 8 <= fileSize) {
        std::array<unsigned char, 8> head{};
        if (!readAt(pos, head.data(), head.size())) {
            return std::nullopt;
        }
        const std::uint64_t size = le32(head.data() + 4);
        const std::uint64_t body = pos + 8;

        if (tagIs(head.data(), "fmt ")) {
            std::array<unsigned char, 40> fmt{};
            if (size < 16 || body + size > fileSize) {
                return std::nullopt;
            }
            if (!readAt(body, fmt.data(), std::min<std::uint64_t>(size, fmt.size()))) {
                return std::nullopt;
            }
            info.formatTag = le16(fmt.data());
            info.channels = le16(fmt.data() + 2);
            info.sampleRate = le32(fmt.data() + 4);
            info.blockAlign = le16(fmt.data() + 12);
            info.bitsPerSample = le16(fmt.data() + 14);
            if (info.formatTag == kFormatExtensible) {
                // The real format is the first two bytes of the sub-format GUID.
                if (size < 40) {
                    return std::nullopt;
                }
                info.formatTag = le16(fmt.data() + 24);
            }
            haveFormat = true;
        } else if (tagIs(head.data(), "data")) {
            if (!haveFormat || info.channels == 0 || info.sampleRate == 0 || info.blockAlign == 0) {
                return std::nullopt;
            }
            info.dataOffset = body;
            info.dataBytes = std::min(size, fileSize - body);
            info.dataBytes -= info.dataBytes % info.blockAlign;
            return info;
        }
        pos = body + size + (size & 1);
    }
    return std::nullopt;
}

}  // namespace brightsum
