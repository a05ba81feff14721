// SPDX-License-Identifier: GPL-3.0-or-later
// WaveFile on Windows: the file is read whole when opened, since the system plays a cue from
// memory, and the handle is closed at once, so the game never keeps anyone from replacing or
// deleting a wave file.
#include "WaveFile.h"

#include <windows.h>

#include <cstring>
#include <system_error>
#include <utility>

namespace brightsum {

namespace {

// Closes the handle at the end of the scope.
struct HandleCloser {
    HANDLE handle;
    ~HandleCloser() { ::CloseHandle(handle); }
};

// The whole of a disk file of at most maxBytes bytes; nothing for anything else.
WaveFile::Bytes readWhole(const std::filesystem::path& path, std::uint64_t maxBytes) {
    // A wide path: the program folder may be named in characters of no ANSI code page.
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    const HandleCloser closer{file};
    // A pipe or a device in the file's place is refused before reading: reading a pipe waits
    // for its writer.
    LARGE_INTEGER size{};
    if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileSizeEx(file, &size) ||
        size.QuadPart < 0 || static_cast<std::uint64_t>(size.QuadPart) > maxBytes) {
        return nullptr;
    }
    auto bytes =
        std::make_shared<std::vector<unsigned char>>(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < bytes->size()) {
        DWORD got = 0;
        if (!::ReadFile(file, bytes->data() + done, static_cast<DWORD>(bytes->size() - done), &got,
                        nullptr) ||
            got == 0) {
            break;  // shortened meanwhile: what was read is the file
        }
        done += got;
    }
    bytes->resize(done);
    return bytes;
}

}  // namespace

std::optional<WaveFile> WaveFile::open(const std::filesystem::path& path) {
    // Asked before opening: opening a device may do things of its own.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return std::nullopt;
    }
    Bytes bytes = readWhole(path, kMaxBytes);
    if (!bytes) {
        return std::nullopt;
    }
    const auto info = WaveFileInfo::parse(
        [&bytes](std::uint64_t offset, unsigned char* into, std::size_t count) {
            if (offset > bytes->size() || count > bytes->size() - offset) {
                return false;
            }
            std::memcpy(into, bytes->data() + offset, count);
            return true;
        },
        bytes->size());
    if (!info || info->sampleRate < kMinSampleRate || info->sampleRate > kMaxSampleRate) {
        return std::nullopt;
    }
    return WaveFile(path, std::move(bytes), *info);
}

WaveFile::WaveFile(std::filesystem::path path, Bytes bytes, const WaveFileInfo& info)
    : m_path(std::move(path)), m_bytes(std::move(bytes)), m_info(info) {}

WaveFile::WaveFile(WaveFile&& other) noexcept = default;
WaveFile& WaveFile::operator=(WaveFile&& other) noexcept = default;
WaveFile::~WaveFile() = default;

}  // namespace brightsum
