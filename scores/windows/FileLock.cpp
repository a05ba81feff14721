// SPDX-License-Identifier: GPL-3.0-or-later
// The lock on Windows: LockFileEx on the lock file's first byte, which Windows releases when
// the holder's process ends. Nothing reads the lock file, so the lock keeps nobody from its
// bytes.
#include "FileLock.h"

#include "UniqueHandle.h"

#include <windows.h>

#include <algorithm>
#include <thread>

namespace brightsum {

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds kPollInterval{10};

// Every share mode, so that a copy of the game holding the file open never keeps another from
// opening it, nor anyone from renaming it. FILE_FLAG_OPEN_REPARSE_POINT: a link planted in the
// lock file's place is opened as the link, and refused, rather than followed to create a file
// elsewhere.
HANDLE openLockFile(const fs::path& path) {
    constexpr DWORD kFlags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, win::kShareAll, nullptr,
                                OPEN_ALWAYS, kFlags, nullptr);
    if (file == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_ACCESS_DENIED) {
        // A read-only lock file, or a folder this user may not write that has one: a lock taken
        // through a handle opened for reading excludes just the same.
        file = ::CreateFileW(path.c_str(), GENERIC_READ, win::kShareAll, nullptr, OPEN_EXISTING,
                             kFlags, nullptr);
    }
    if (file != INVALID_HANDLE_VALUE && !win::isRegularFile(file)) {
        ::CloseHandle(file);
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

enum class Outcome {
    Locked,
    Busy,
    Refused,
};

Outcome lockBefore(HANDLE file, Clock::time_point deadline) {
    for (;;) {
        OVERLAPPED at{};  // the first byte
        if (::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
            return Outcome::Locked;
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING) {
            return Outcome::Refused;
        }
        const Clock::time_point now = Clock::now();
        if (now >= deadline) {
            return Outcome::Busy;
        }
        std::this_thread::sleep_for(std::min<Clock::duration>(kPollInterval, deadline - now));
    }
}

// The locked file is still the one the path names: nobody removed, renamed or replaced it
// meanwhile. A file is known by its volume and its index on that volume.
bool stillNamed(HANDLE file, const fs::path& path) {
    const UniqueHandle named(
        win::openExisting(path, FILE_READ_ATTRIBUTES, FILE_FLAG_OPEN_REPARSE_POINT));
    BY_HANDLE_FILE_INFORMATION held{};
    BY_HANDLE_FILE_INFORMATION now{};
    return named.valid() && ::GetFileInformationByHandle(file, &held) &&
           ::GetFileInformationByHandle(named.get(), &now) &&
           held.dwVolumeSerialNumber == now.dwVolumeSerialNumber &&
           held.nFileIndexHigh == now.nFileIndexHigh && held.nFileIndexLow == now.nFileIndexLow;
}

void unlock(HANDLE file) {
    OVERLAPPED at{};
    ::UnlockFileEx(file, 0, 1, 0, &at);
}

}  // namespace

struct FileLock::Handle {
    explicit Handle(HANDLE handle) : file(handle) {}
    // Released at once rather than whenever Windows gets round to it after the close.
    ~Handle() { unlock(file.get()); }
    UniqueHandle file;
};

FileLock::FileLock(const fs::path& path, std::chrono::milliseconds timeout) {
    const Clock::time_point deadline = Clock::now() + timeout;
    for (;;) {
        UniqueHandle file(openLockFile(path));
        if (!file.valid()) {
            m_state = State::Unavailable;
            return;
        }
        const Outcome outcome = lockBefore(file.get(), deadline);
        if (outcome == Outcome::Locked && stillNamed(file.get(), path)) {
            m_handle = std::make_unique<Handle>(file.get());
            file.release();
            m_state = State::Held;
            return;
        }
        if (outcome == Outcome::Locked) {
            unlock(file.get());
        }
        if (outcome == Outcome::Busy) {
            m_state = State::Busy;
            return;
        }
        if (outcome == Outcome::Refused) {
            m_state = State::Unavailable;
            return;
        }
        // Locked a file that had been removed or replaced: lock the one named now.
        const Clock::time_point now = Clock::now();
        if (now >= deadline) {
            m_state = State::Busy;
            return;
        }
        std::this_thread::sleep_for(std::min<Clock::duration>(kPollInterval, deadline - now));
    }
}

FileLock::~FileLock() = default;

}  // namespace brightsum
