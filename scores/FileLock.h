// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <filesystem>

namespace brightsum {

// An exclusive advisory lock (flock) on a lock file, held from construction to destruction.
// The lock file holds nothing and is never removed: a removed lock file would let a second
// holder lock a new file of the same name while the first still holds the old one.
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
    int m_fd = -1;
    State m_state = State::Unavailable;
};

}  // namespace brightsum
