// SPDX-License-Identifier: GPL-3.0-or-later
#include "AtomicFileWriter.h"

#include "UniqueFd.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace brightsum {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kTempSuffixLength = 6;  // the XXXXXX of mkstemp

fs::path folderOf(const fs::path& file) {
    fs::path folder = file.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::string tempPrefix) : m_tempPrefix(std::move(tempPrefix)) {}

bool AtomicFileWriter::isTempName(std::string_view name) const {
    return name.size() == m_tempPrefix.size() + kTempSuffixLength && name.starts_with(m_tempPrefix);
}

std::string AtomicFileWriter::tempTemplate(const fs::path& folder) const {
    return (folder / m_tempPrefix).string() + std::string(kTempSuffixLength, 'X');
}

// A writer holds a lock on its temporary file until the rename, and the lock dies with its
// process, so a file whose lock can be taken was left by a write that never finished.
void AtomicFileWriter::removeStaleTemps(const fs::path& folder) const {
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) {
        return;
    }
    DIR* dir = ::fdopendir(dirFd);
    if (dir == nullptr) {
        ::close(dirFd);
        return;
    }
    while (const dirent* entry = ::readdir(dir)) {
        if (!isTempName(entry->d_name)) {
            continue;
        }
        UniqueFd fd(::openat(dirFd, entry->d_name,
                             O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY));
        struct stat st {};
        if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
            continue;
        }
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) {
            ::unlinkat(dirFd, entry->d_name, 0);
        }
    }
    ::closedir(dir);
}

bool AtomicFileWriter::writeAll(int fd, const char* data, std::size_t size) const {
    while (size > 0) {
        const long n = m_hooks.write ? m_hooks.write(fd, data, size) : ::write(fd, data, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool AtomicFileWriter::flush(int fd) const {
    return (m_hooks.flush ? m_hooks.flush(fd) : ::fsync(fd)) == 0;
}

void AtomicFileWriter::flushFolder(const fs::path& folder) const {
    UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0) {
        flush(fd.get());
    }
}

bool AtomicFileWriter::replace(const fs::path& target, std::string_view bytes) const {
    const fs::path folder = folderOf(target);
    removeStaleTemps(folder);

    mode_t mode = 0644;
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        mode = old.st_mode & 07777;
    }

    std::string name;
    int fd = -1;
    for (int attempt = 0; attempt < 3 && fd < 0; ++attempt) {
        name = tempTemplate(folder);
        fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd < 0) {
            return false;
        }
        struct stat st {};
        // Another program's clean-up may have taken the file between its creation and the
        // lock; start again with a new one.
        if (::flock(fd, LOCK_EX) != 0 || ::fstat(fd, &st) != 0 || st.st_nlink == 0) {
            ::close(fd);
            fd = -1;
        }
    }
    if (fd < 0) {
        return false;
    }

    bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, bytes.data(), bytes.size()) && flush(fd);
    if (ok && m_hooks.beforeRename) {
        m_hooks.beforeRename();
    }
    ok = ok && ::rename(name.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(name.c_str());
    }
    ::close(fd);  // only now: the lock guards the temporary file until it is renamed
    if (ok) {
        flushFolder(folder);
    }
    return ok;
}

bool AtomicFileWriter::link(const fs::path& existing, const fs::path& target) const {
    const fs::path folder = folderOf(target);
    // A free name to link under; the link then replaces the target in one rename.
    std::string name = tempTemplate(folder);
    const int probe = ::mkostemp(name.data(), O_CLOEXEC);
    if (probe < 0) {
        return false;
    }
    ::close(probe);
    ::unlink(name.c_str());
    // No AT_SYMLINK_FOLLOW: a symbolic link is linked as the link it is.
    if (::linkat(AT_FDCWD, existing.c_str(), AT_FDCWD, name.c_str(), 0) != 0) {
        return false;
    }
    if (::rename(name.c_str(), target.c_str()) != 0) {
        ::unlink(name.c_str());
        return false;
    }
    flushFolder(folder);
    return true;
}

bool AtomicFileWriter::move(const fs::path& from, const fs::path& target) const {
    if (::rename(from.c_str(), target.c_str()) != 0) {
        return false;
    }
    flushFolder(folderOf(target));
    return true;
}

}  // namespace brightsum
