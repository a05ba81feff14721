// SPDX-License-Identifier: GPL-3.0-or-later
// WaveFile on POSIX systems: the file stays open, and only its header is read.
#include "WaveFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <system_error>
#include <utility>

namespace brightsum {

namespace {

int openForReading(const std::filesystem::path& path) {
    // Non-blocking: a FIFO swapped in after the check below must not hold the caller.
    return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

bool readAt(int descriptor, std::uint64_t offset, unsigned char* into, std::size_t count) {
    if (::lseek(descriptor, static_cast<off_t>(offset), SEEK_SET) < 0) {
        return false;
    }
    while (count > 0) {
        const auto got = ::read(descriptor, into, static_cast<unsigned>(count));
        if (got <= 0) {
            return false;
        }
        into += got;
        count -= static_cast<std::size_t>(got);
    }
    return true;
}

}  // namespace

std::optional<WaveFile> WaveFile::open(const std::filesystem::path& path) {
    // Asked before opening: opening a device may do things of its own.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return std::nullopt;
    }
    const int descriptor = openForReading(path);
    if (descriptor < 0) {
        return std::nullopt;
    }
    struct stat status {};
    std::optional<WaveFileInfo> info;
    if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) && status.st_size >= 0 &&
        static_cast<std::uint64_t>(status.st_size) <= kMaxBytes) {
        info = WaveFileInfo::parse(
            [descriptor](std::uint64_t offset, unsigned char* into, std::size_t count) {
                return readAt(descriptor, offset, into, count);
            },
            static_cast<std::uint64_t>(status.st_size));
    }
    if (!info || info->sampleRate < kMinSampleRate || info->sampleRate > kMaxSampleRate) {
        ::close(descriptor);
        return std::nullopt;
    }
    return WaveFile(path, descriptor, *info);
}

WaveFile::WaveFile(std::filesystem::path path, int descriptor, const WaveFileInfo& info)
    : m_path(std::move(path)), m_descriptor(descriptor), m_info(info) {}

WaveFile::WaveFile(WaveFile&& other) noexcept
    : m_path(std::move(other.m_path)),
      m_descriptor(std::exchange(other.m_descriptor, -1)),
      m_info(other.m_info) {}

WaveFile& WaveFile::operator=(WaveFile&& other) noexcept {
    if (this != &other) {
        if (m_descriptor >= 0) {
            ::close(m_descriptor);
        }
        m_path = std::move(other.m_path);
        m_descriptor = std::exchange(other.m_descriptor, -1);
        m_info = other.m_info;
    }
    return *this;
}

WaveFile::~WaveFile() {
    if (m_descriptor >= 0) {
        ::close(m_descriptor);
    }
}

}  // namespace brightsum
