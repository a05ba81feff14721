// SPDX-License-Identifier: GPL-3.0-or-later
// The writer on POSIX systems: a new file beside the target, fsync and rename. A writer marks
// its temporary file as in use with flock, which dies with its process.
#include "AtomicFileWriter.h"

#include "UniqueFd.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <random>

namespace brightsum {

namespace fs = std::filesystem;

namespace {

fs::path folderOf(const fs::path& file) {
    fs::path folder = file.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

std::string tempTemplate(const fs::path& folder, const std::string& prefix) {
    return (folder / prefix).string() + std::string(AtomicFileWriter::kTempSuffixLength, 'X');
}

// One write() as the hooks let it happen: cut short, interrupted or failing for want of room.
ssize_t writeOnce(int fd, const char* data, std::size_t size,
                  const AtomicFileWriter::Hooks& hooks) {
    if (!hooks.write) {
        return ::write(fd, data, size);
    }
    const long allowed = hooks.write(size);
    if (allowed == AtomicFileWriter::kInterrupted) {
        errno = EINTR;
        return -1;
    }
    if (allowed <= 0) {
        errno = ENOSPC;
        return -1;
    }
    return ::write(fd, data, std::min(size, static_cast<std::size_t>(allowed)));
}

bool writeAll(int fd, const char* data, std::size_t size, const AtomicFileWriter::Hooks& hooks) {
    while (size > 0) {
        const ssize_t n = writeOnce(fd, data, size, hooks);
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

bool flush(int fd, AtomicFileWriter::Flush what, const AtomicFileWriter::Hooks& hooks) {
    if (hooks.flush && !hooks.flush(what)) {
        errno = EIO;
        return false;
    }
    return ::fsync(fd) == 0;
}

void flushFolder(const fs::path& folder, const AtomicFileWriter::Hooks& hooks) {
    UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0) {
        flush(fd.get(), AtomicFileWriter::Flush::Folder, hooks);
    }
}

// Creates a new file named the prefix plus random characters, with the bits that the umask
// (or a default ACL of the folder) gives a new file, so that a group's shared folder gets a
// file the group can write.
int createTemp(const fs::path& folder, const std::string& prefix, std::string& name) {
    static constexpr std::string_view kCharacters =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::uniform_int_distribution<std::size_t> pick(0, kCharacters.size() - 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = tempTemplate(folder, prefix);
        for (std::size_t i = name.size() - AtomicFileWriter::kTempSuffixLength; i < name.size();
             ++i) {
            name[i] = kCharacters[pick(random)];
        }
        const int fd =
            ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

// A file system without Unix modes (FAT on a USB stick) refuses to set them, and has no
// bits to keep either.
bool setMode(int fd, mode_t mode) {
    return ::fchmod(fd, mode) == 0 || errno == ENOSYS || errno == EPERM || errno == EOPNOTSUPP;
}

// Writes `bytes` over the file in place, for a file that may be written but not replaced:
// the file itself, never through a link, and never a file that has other names. The room for
// the new bytes is taken first, so a full disk changes nothing, and a write that fails half-way
// puts the old bytes back. A copy of the game that reads the file meanwhile without the lock
// reads the new table whole even before the file is cut to its new length: what is left of the
// old one comes after the thirtieth field, where reading stops.
bool overwrite(const fs::path& target, std::string_view bytes,
               const AtomicFileWriter::Hooks& hooks) {
    UniqueFd fd(::open(target.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK));
    struct stat st {};
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_nlink != 1) {
        return false;
    }
    const auto size = static_cast<std::size_t>(st.st_size);
    if (bytes.size() > size &&
        ::posix_fallocate(fd.get(), st.st_size, static_cast<off_t>(bytes.size() - size)) != 0) {
        ::ftruncate(fd.get(), st.st_size);  // what room was taken, if any, goes again
        return false;
    }
    std::string before(std::min(size, bytes.size()), '\0');
    if (::pread(fd.get(), before.data(), before.size(), 0) != static_cast<ssize_t>(before.size())) {
        return false;
    }
    if (writeAll(fd.get(), bytes.data(), bytes.size(), hooks) &&
        ::ftruncate(fd.get(), static_cast<off_t>(bytes.size())) == 0 &&
        flush(fd.get(), AtomicFileWriter::Flush::File, hooks)) {
        return true;
    }
    if (::pwrite(fd.get(), before.data(), before.size(), 0) ==
        static_cast<ssize_t>(before.size())) {
        ::ftruncate(fd.get(), st.st_size);
        ::fsync(fd.get());
    }
    return false;
}

}  // namespace

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

bool AtomicFileWriter::replace(const fs::path& target, std::string_view bytes) const {
    const fs::path folder = folderOf(target);
    removeStaleTemps(folder);

    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);

    std::string name;
    int fd = -1;
    for (int attempt = 0; attempt < 3 && fd < 0; ++attempt) {
        fd = createTemp(folder, m_tempPrefix, name);
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

    // A new file has the bits the umask gives it; a replaced one keeps its own.
    bool ok = (!replacing || setMode(fd, old.st_mode & 07777)) &&
              writeAll(fd, bytes.data(), bytes.size(), m_hooks) && flush(fd, Flush::File, m_hooks);
    if (ok && m_hooks.beforeRename) {
        m_hooks.beforeRename();
    }
    const bool renamed = ok && ::rename(name.c_str(), target.c_str()) == 0;
    if (ok && !renamed) {
        // A folder with the sticky bit keeps another user's file from being replaced, though
        // that user may let everyone write it.
        ok = errno == EPERM && overwrite(target, bytes, m_hooks);
    }
    if (!renamed) {
        ::unlink(name.c_str());
    }
    ::close(fd);  // only now: the lock guards the temporary file until it is renamed
    if (renamed) {
        flushFolder(folder, m_hooks);
    }
    return ok;
}

bool AtomicFileWriter::link(const fs::path& existing, const fs::path& target) const {
    const fs::path folder = folderOf(target);
    // A free name to link under; the link then replaces the target in one rename.
    std::string name = tempTemplate(folder, m_tempPrefix);
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
    flushFolder(folder, m_hooks);
    return true;
}

bool AtomicFileWriter::move(const fs::path& from, const fs::path& target) const {
    if (::rename(from.c_str(), target.c_str()) != 0) {
        return false;
    }
    flushFolder(folderOf(target), m_hooks);
    return true;
}

}  // namespace brightsum
