// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileLock.h"

#include "UniqueFd.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <thread>

namespace brightsum {

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds kPollInterval{10};

// O_NOFOLLOW: a link planted in the lock file's place is not followed to create a file
// elsewhere. O_NONBLOCK: a FIFO in its place does not hang the program.
int openLockFile(const fs::path& path) {
    constexpr int kFlags = O_CLOEXEC | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK;
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | kFlags, 0644);
    if (fd < 0 && (errno == EACCES || errno == EPERM || errno == EROFS)) {
        // Another user's lock file, or a read-only folder that has one: a lock taken through a
        // read-only descriptor excludes just the same.
        fd = ::open(path.c_str(), O_RDONLY | kFlags);
    }
    if (fd < 0) {
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    // Every player must be able to open the lock file, whatever the umask of the one who
    // made it: a player who cannot would have no lock to take. Its owner sees to that, also
    // for a lock file made before. (A file system without modes refuses and needs none.)
    if (st.st_uid == ::geteuid() && (st.st_mode & 0444) != 0444) {
        ::fchmod(fd, (st.st_mode & 07777) | 0444);
    }
    return fd;
}

// 0 once the lock is taken; EWOULDBLOCK when another holder still has it at the deadline;
// any other error number when the file system refuses the lock.
int lockBefore(int fd, Clock::time_point deadline) {
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            return 0;
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno != EWOULDBLOCK) {
            return errno;
        }
        const Clock::time_point now = Clock::now();
        if (now >= deadline) {
            return EWOULDBLOCK;
        }
        std::this_thread::sleep_for(std::min<Clock::duration>(kPollInterval, deadline - now));
    }
}

// The locked file is still the one the path names: nobody removed or replaced it meanwhile.
bool stillNamed(int fd, const fs::path& path) {
    struct stat held {};
    struct stat named {};
    return ::fstat(fd, &held) == 0 && ::lstat(path.c_str(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

}  // namespace

struct FileLock::Handle {
    explicit Handle(int descriptor) : fd(descriptor) {}
    UniqueFd fd;  // closing it releases the lock
};

FileLock::FileLock(const fs::path& path, std::chrono::milliseconds timeout) {
    const Clock::time_point deadline = Clock::now() + timeout;
    for (;;) {
        const int fd = openLockFile(path);
        if (fd < 0) {
            m_state = State::Unavailable;
            return;
        }
        const int error = lockBefore(fd, deadline);
        if (error == 0 && stillNamed(fd, path)) {
            m_handle = std::make_unique<Handle>(fd);
            m_state = State::Held;
            return;
        }
        ::close(fd);
        if (error == EWOULDBLOCK) {
            m_state = State::Busy;
            return;
        }
        if (error != 0) {
            m_state = State::Unavailable;
            return;
        }
        // Locked a file that had been removed or replaced: lock the one named now.
        if (Clock::now() >= deadline) {
            m_state = State::Busy;
            return;
        }
    }
}

FileLock::~FileLock() = default;

}  // namespace brightsum
