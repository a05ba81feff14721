#include "HighScoreFile.h"

#include "HighScoreFormat.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>
#include <utility>

namespace brightsum {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kTempSuffixLength = 6;  // the XXXXXX of mkstemp

enum class Kind {
    Absent,
    Regular,
    Other,
};

// What a path names, following symbolic links; a dangling link counts as absent, since a
// save simply replaces it.
Kind kindOf(const fs::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return errno == ENOENT ? Kind::Absent : Kind::Other;
    }
    return S_ISREG(st.st_mode) ? Kind::Regular : Kind::Other;
}

// access() answers for the real user and reports EROFS for a read-only mount, so it covers
// both a folder we may not write and one nobody may write.
bool canWrite(const fs::path& path) {
    return ::access(path.c_str(), W_OK) == 0;
}

bool canWriteFolder(const fs::path& folder) {
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

fs::path folderOf(const fs::path& file) {
    fs::path folder = file.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

class Fd {
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    int get() const { return m_fd; }

private:
    int m_fd;
};

// Opens a regular file for reading. O_NONBLOCK keeps a FIFO named like the file from
// blocking the program forever; anything but a regular file is refused.
int openRegular(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = EISDIR;
        return -1;
    }
    return fd;
}

// Reads at most `limit` bytes; `complete` tells whether that was the whole file.
bool readUpTo(int fd, std::size_t limit, std::string& bytes, bool& complete) {
    bytes.assign(limit + 1, '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    complete = got <= limit;
    bytes.resize(std::min(got, limit));
    return true;
}

bool isTempName(const char* name) {
    const std::size_t prefix = std::strlen(HighScoreFile::kTempPrefix);
    return std::strncmp(name, HighScoreFile::kTempPrefix, prefix) == 0 &&
           std::strlen(name) == prefix + kTempSuffixLength;
}

// Removes temporary files that no save is writing any more. A writer holds a lock on its
// temporary file until the rename, and the lock dies with its process, so a file whose lock
// can be taken was left by a save that never finished.
void removeStaleTemps(const fs::path& folder) {
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
        Fd fd(::openat(dirFd, entry->d_name,
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

void syncFolder(const fs::path& folder) {
    Fd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0) {
        ::fsync(fd.get());
    }
}

}  // namespace

HighScoreFile::HighScoreFile(fs::path programFolder, fs::path dataFolder) {
    const fs::path programFile = programFolder / kFileName;
    const Kind programKind = kindOf(programFile);
    if (canWriteFolder(programFolder) &&
        (programKind == Kind::Absent || (programKind == Kind::Regular && canWrite(programFile)))) {
        m_path = programFile;
        m_place = Place::ProgramFolder;
        return;
    }

    if (dataFolder.empty()) {
        // No data folder to turn to: read what the program folder has, writing will fail.
        m_path = programFile;
        m_place = Place::ProgramFolder;
        return;
    }
    m_path = dataFolder / kFileName;
    m_place = Place::DataFolder;
    std::error_code ignored;
    fs::create_directories(dataFolder, ignored);
    if (kindOf(m_path) == Kind::Absent && programKind == Kind::Regular) {
        seedFrom(programFile);
        if (kindOf(m_path) == Kind::Absent && ::access(programFile.c_str(), R_OK) == 0) {
            // Nowhere to write: still show the player the table the program folder holds.
            m_path = programFile;
            m_place = Place::ProgramFolder;
        }
    }
}

// Copies the program folder's file so that it reads exactly as the original would. A file
// too large to read whole is copied up to the end of its thirtieth field, and not at all
// when those fields cannot be read.
void HighScoreFile::seedFrom(const fs::path& source) {
    Fd fd(openRegular(source));
    std::string bytes;
    bool complete = false;
    if (fd.get() < 0 || !readUpTo(fd.get(), HighScoreFormat::kReadLimit, bytes, complete)) {
        return;
    }
    if (!complete) {
        const HighScoreFormat::Parsed parsed = HighScoreFormat::parse(bytes, false);
        if (!parsed.table) {
            return;
        }
        bytes.resize(parsed.end);
    }
    writeAtomically(m_path, [&](int out) { return writeAll(out, bytes.data(), bytes.size()); });
}

HighScoreFile::ReadResult HighScoreFile::read(HighScoreTable& table) const {
    Fd fd(openRegular(m_path));
    if (fd.get() < 0) {
        return errno == ENOENT ? ReadResult::Missing : ReadResult::Unreadable;
    }
    std::string bytes;
    bool complete = false;
    if (!readUpTo(fd.get(), HighScoreFormat::kReadLimit, bytes, complete)) {
        return ReadResult::Unreadable;
    }
    HighScoreFormat::Parsed parsed = HighScoreFormat::parse(bytes, complete);
    if (!parsed.table) {
        return ReadResult::Unreadable;
    }
    table = std::move(*parsed.table);
    return ReadResult::Read;
}

bool HighScoreFile::ReadHighScoreFile(HighScoreTable& table) const {
    return read(table) == ReadResult::Read;
}

HighScoreFile::SaveResult HighScoreFile::save(const HighScoreTable& table) const {
    const std::optional<std::string> bytes = HighScoreFormat::serialise(table);
    if (!bytes) {
        return SaveResult::BadNumber;
    }
    if (m_place == Place::DataFolder) {
        std::error_code ignored;
        fs::create_directories(folderOf(m_path), ignored);  // it may have been removed
    }
    const bool written =
        writeAtomically(m_path, [&](int fd) { return writeAll(fd, bytes->data(), bytes->size()); });
    return written ? SaveResult::Saved : SaveResult::WriteFailed;
}

bool HighScoreFile::SaveHighScores(const HighScoreTable& table) const {
    return save(table) == SaveResult::Saved;
}

bool HighScoreFile::LoadHighScores(HighScoreTable& table) const {
    HighScoreTable read;
    const ReadResult result = this->read(read);
    if (result == ReadResult::Read) {
        switch (save(read)) {
            case SaveResult::Saved:
                table = std::move(read);
                return true;
            case SaveResult::WriteFailed:
                // The file is good, only the place is not writable: keep its table.
                table = std::move(read);
                return false;
            case SaveResult::BadNumber:
                break;
        }
    }

    table = HighScoreTable::DefaultHighScores();
    // A damaged file is replaced only once its bytes are safe in "hiscore.bad".
    if (result != ReadResult::Missing && !keepBadCopy()) {
        return false;
    }
    return save(table) == SaveResult::Saved;
}

bool HighScoreFile::keepBadCopy() const {
    const fs::path folder = folderOf(m_path);
    const fs::path bad = folder / kBadFileName;

    // A second name for the same bytes costs nothing, however large the file is.
    std::string name = (folder / kTempPrefix).string() + std::string(kTempSuffixLength, 'X');
    const int probe = ::mkostemp(name.data(), O_CLOEXEC);
    if (probe >= 0) {
        ::close(probe);
        ::unlink(name.c_str());
        if (::linkat(AT_FDCWD, m_path.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            if (::rename(name.c_str(), bad.c_str()) == 0) {
                syncFolder(folder);
                return true;
            }
            ::unlink(name.c_str());
            return false;
        }
    }

    // No hard links here (or the file lies on another file system): copy it.
    Fd source(openRegular(m_path));
    if (source.get() < 0) {
        return false;
    }
    return writeAtomically(bad, [&](int out) {
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(source.get(), buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                return n == 0;
            }
            if (!writeAll(out, buffer, static_cast<std::size_t>(n))) {
                return false;
            }
        }
    });
}

bool HighScoreFile::writeAll(int fd, const char* data, std::size_t size) const {
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

// Write a temporary file beside the target, flush it to the disk and rename it over the
// target: a crash at any moment leaves either the old file or the new one. The rename also
// replaces a symbolic link rather than writing through it.
bool HighScoreFile::writeAtomically(const fs::path& target,
                                    const std::function<bool(int fd)>& fill) const {
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
        name = (folder / kTempPrefix).string() + std::string(kTempSuffixLength, 'X');
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

    bool ok = ::fchmod(fd, mode) == 0 && fill(fd) && ::fsync(fd) == 0;
    if (ok && m_hooks.beforeRename) {
        m_hooks.beforeRename();
    }
    ok = ok && ::rename(name.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(name.c_str());
    }
    ::close(fd);  // only now: the lock guards the temporary file until it is renamed
    if (ok) {
        syncFolder(folder);
    }
    return ok;
}

std::optional<HighScoreTable> HighScoreFile::parse(std::string_view bytes) {
    return HighScoreFormat::parse(bytes).table;
}

std::optional<std::string> HighScoreFile::serialise(const HighScoreTable& table) {
    return HighScoreFormat::serialise(table);
}

}  // namespace brightsum
