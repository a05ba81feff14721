// SPDX-License-Identifier: GPL-3.0-or-later
#include "HighScoreFile.h"

#include "FileLock.h"
#include "FileSystem.h"
#include "HighScoreFormat.h"

#include <system_error>
#include <utility>

namespace brightsum {

namespace fs = std::filesystem;

namespace {

using files::Kind;
using files::kindOf;

fs::path folderOf(const fs::path& file) {
    fs::path folder = file.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

}  // namespace

HighScoreFile::HighScoreFile(fs::path programFolder, fs::path dataFolder) {
    const fs::path programFile = programFolder / kFileName;
    const Kind programKind = kindOf(programFile);
    if (files::canWriteFolder(programFolder) &&
        (programKind == Kind::Absent ||
         (programKind == Kind::Regular && files::canWrite(programFile)))) {
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
        if (kindOf(m_path) == Kind::Absent && files::canRead(programFile)) {
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
    if (held.state() != FileLock::State::Held || kindOf(m_path) != Kind::Absent) {
        return;
    }
    files::Head head = files::readHead(source, HighScoreFormat::kReadLimit);
    if (head.status != files::Head::Status::Read) {
        return;
    }
    if (!head.complete) {
        const HighScoreFormat::Parsed parsed = HighScoreFormat::parse(head.bytes, false);
        if (!parsed.table) {
            return;
        }
        head.bytes.resize(parsed.end);
    }
    m_writer.replace(m_path, head.bytes);
}

HighScoreFile::ReadResult HighScoreFile::read(HighScoreTable& table, std::string* bytes) const {
    files::Head head = files::readHead(m_path, HighScoreFormat::kReadLimit);
    if (head.status != files::Head::Status::Read) {
        return head.status == files::Head::Status::Missing ? ReadResult::Missing
                                                           : ReadResult::Unreadable;
    }
    HighScoreFormat::Parsed parsed = HighScoreFormat::parse(head.bytes, head.complete);
    if (!parsed.table) {
        return ReadResult::Unreadable;
    }
    table = std::move(*parsed.table);
    if (bytes != nullptr && head.complete) {
        *bytes = std::move(head.bytes);
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
        if (!files::canWriteFolder(folder) || !files::canWrite(m_path)) {
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
    if (held.state() != FileLock::State::Held) {
        return false;
    }
    return save(table) == SaveResult::Saved;
}

bool HighScoreFile::SaveNewHighScores(HighScoreTable& table,
                                      std::span<const NewHighScore> entries) const {
    const FileLock held = lock();
    if (held.state() != FileLock::State::Held) {
        return false;
    }
    HighScoreTable current;
    const ReadResult result = read(current);
    if (result == ReadResult::Unreadable && !keepBadCopy()) {
        // Damaged since the last load, and nowhere to keep it: write nothing over it.
        return false;
    }
    if (result == ReadResult::Read) {
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
    if (held.state() != FileLock::State::Held) {
        // Another copy of the game is in the middle of a save and kept the lock too long, or
        // there is no lock to be had, so that another copy may be saving unseen: take the
        // table from the file as it stands (a save replaces it whole) and write nothing.
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
    const files::NameKind kind = files::nameKindOf(m_path);
    if (kind == files::NameKind::Missing) {
        return false;
    }
    // Where the file cannot be replaced, the new table is written into the file itself, which
    // a second name would share: only a copy keeps the damaged bytes apart.
    if ((kind == files::NameKind::SymbolicLink || kind == files::NameKind::SoleName) &&
        files::canReplace(m_path)) {
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
    const files::Head head = files::readHead(m_path, kBadCopyLimit);
    return head.status == files::Head::Status::Read && m_writer.replace(bad, head.bytes);
}

}  // namespace brightsum
