// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <filesystem>
#include <memory>

namespace brightsum {

// An exclusive lock on a lock file, held from construction to destruction, that copies of the
// game take in turn: while one holds it, no other copy on any system sharing the folder holds
// it. A holder that dies releases it. The lock file holds nothing and is never removed: a
// removed lock file would let a second holder lock a new file of the same name while the first
// still holds the old one. Each system has its own implementation (posix/, windows/).
class FileLock {
public:
    enum class State {
        Held,
        // Another holder kept the lock past the timeout.
        Busy,
        // The lock file cannot be opened or created (a read-only folder, something other than
        // a file in its place), or the file system takes no locks: nothing to wait for.
        Unavailable,
    };

    // Takes the lock, creating the lock file when it is missing. While another holder has it,
    // tries again every few milliseconds, sleeping in between, until `timeout` has passed.
    FileLock(const std::filesystem::path& path, std::chrono::milliseconds timeout);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    State state() const { return m_state; }

private:
    // The open lock file, in the system's own terms.
    struct Handle;
    std::unique_ptr<Handle> m_handle;
    State m_state = State::Unavailable;
};

}  // namespace brightsum
