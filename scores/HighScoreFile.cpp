// SPDX-License-Identifier: GPL-3.0-or-later
#include "HighScoreFile.h"

#include "FileLock.h"
#include "HighScoreFormat.h"
#include "UniqueFd.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>
#include <utility>

namespace brightsum {

namespace fs = std::filesystem;

namespace {

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

FileLock HighScoreFile::lock() const {
    const fs::path folder = folderOf(m_path);
    if (m_place == Place::DataFolder) {
        std::error_code ignored;
        fs::create_directories(folder, ignored);  // it may have been removed
    }
    return FileLock(folder / kLockFileName, m_lockTimeout);
}

// Copies the program folder's file so that it reads exactly as the original would. A file
// too large to read whole is copied up to the end of its thirtieth field, and not at all
// when those fields cannot be read.
void HighScoreFile::seedFrom(const fs::path& source) {
    // Another copy of the game may be seeding or saving the same file right now.
    const FileLock held = lock();
    if (held.state() == FileLock::State::Busy || kindOf(m_path) != Kind::Absent) {
        return;
    }
    UniqueFd fd(openRegular(source));
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
    m_writer.replace(m_path, bytes);
}

HighScoreFile::ReadResult HighScoreFile::read(HighScoreTable& table, std::string* bytes) const {
    UniqueFd fd(openRegular(m_path));
    if (fd.get() < 0) {
        return errno == ENOENT ? ReadResult::Missing : ReadResult::Unreadable;
    }
    std::string read;
    bool complete = false;
    if (!readUpTo(fd.get(), HighScoreFormat::kReadLimit, read, complete)) {
        return ReadResult::Unreadable;
    }
    HighScoreFormat::Parsed parsed = HighScoreFormat::parse(read, complete);
    if (!parsed.table) {
        return ReadResult::Unreadable;
    }
    table = std::move(*parsed.table);
    if (bytes != nullptr && complete) {
        *bytes = std::move(read);
    }
    return ReadResult::Read;
}

bool HighScoreFile::ReadHighScoreFile(HighScoreTable& table) const {
    return read(table) == ReadResult::Read;
}

HighScoreFile::SaveResult HighScoreFile::save(const HighScoreTable& table,
                                              const std::string* current) const {
    const std::optional<std::string> bytes = HighScoreFormat::serialise(table);
    if (!bytes) {
        return SaveResult::BadNumber;
    }
    if (current != nullptr && *current == *bytes) {
        // The file already says this: no new file, no flush. The answer is still the one a
        // write would give where the place cannot be written, and what a killed save left
        // behind is cleared as a write would have done.
        const fs::path folder = folderOf(m_path);
        if (!canWriteFolder(folder) || !canWrite(m_path)) {
            return SaveResult::WriteFailed;
        }
        m_writer.removeStaleTemps(folder);
        return SaveResult::Saved;
    }
    if (m_place == Place::DataFolder) {
        std::error_code ignored;
        fs::create_directories(folderOf(m_path), ignored);  // it may have been removed
    }
    return m_writer.replace(m_path, *bytes) ? SaveResult::Saved : SaveResult::WriteFailed;
}

bool HighScoreFile::SaveHighScores(const HighScoreTable& table) const {
    const FileLock held = lock();
    if (held.state() == FileLock::State::Busy) {
        return false;
    }
    return save(table) == SaveResult::Saved;
}

bool HighScoreFile::SaveNewHighScores(HighScoreTable& table,
                                      std::span<const NewHighScore> entries) const {
    const FileLock held = lock();
    if (held.state() == FileLock::State::Busy) {
        return false;
    }
    HighScoreTable current;
    if (read(current) == ReadResult::Read) {
        current.SortHighScores();
        for (const NewHighScore& entry : entries) {
            if (const std::optional<int> slot = current.FindHighScoreSlot(entry.points)) {
                current.InsertHighScore(*slot, entry.name, entry.points, entry.level);
            }
        }
        // The same table as the caller's, unless another copy of the game has saved since
        // this one last read the file. Only then is the caller's table replaced: its texts
        // ("1000" from the default table, where the file says " 1000") are already on show.
        if (HighScoreFormat::serialise(current) != HighScoreFormat::serialise(table)) {
            table = std::move(current);
        }
    }
    return save(table) == SaveResult::Saved;
}

bool HighScoreFile::LoadHighScores(HighScoreTable& table) const {
    const FileLock held = lock();
    HighScoreTable read;
    std::string bytes;
    const ReadResult result = this->read(read, &bytes);
    if (held.state() == FileLock::State::Busy) {
        // Another copy of the game is in the middle of a save and kept the lock too long: take
        // the table from the file as it stands (a save replaces it whole) and write nothing.
        table = result == ReadResult::Read ? std::move(read) : HighScoreTable::DefaultHighScores();
        return false;
    }
    if (result == ReadResult::Read) {
        switch (save(read, bytes.empty() ? nullptr : &bytes)) {
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
    // A damaged file is replaced only once it is safe as "hiscore.bad".
    if (result != ReadResult::Missing && !keepBadCopy()) {
        return false;
    }
    return save(table) == SaveResult::Saved;
}

// Keeps the damaged file under a second name without reading it, however large it is, and
// without ever giving a name in this folder to a file elsewhere: a symbolic link is kept as the
// link it is, and a file that has other names already is copied instead.
bool HighScoreFile::keepBadCopy() const {
    const fs::path bad = folderOf(m_path) / kBadFileName;
    struct stat st {};
    if (::lstat(m_path.c_str(), &st) != 0) {
        return false;
    }
    if (S_ISLNK(st.st_mode) || (S_ISREG(st.st_mode) && st.st_nlink == 1)) {
        if (m_writer.link(m_path, bad)) {
            return true;
        }
        // No hard links here (FAT, some network shares): the file itself becomes
        // "hiscore.bad", and the save that follows puts a new file in its place.
        if (m_writer.move(m_path, bad)) {
            return true;
        }
    }
    return copyBad(bad);
}

// "hiscore.bad" then holds at most the first kBadCopyLimit bytes of the damaged file.
bool HighScoreFile::copyBad(const fs::path& bad) const {
    UniqueFd source(openRegular(m_path));
    std::string bytes;
    bool complete = false;
    if (source.get() < 0 || !readUpTo(source.get(), kBadCopyLimit, bytes, complete)) {
        return false;
    }
    return m_writer.replace(bad, bytes);
}

}  // namespace brightsum
