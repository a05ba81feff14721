// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AtomicFileWriter.h"
#include "HighScoreTable.h"
#include "NewHighScore.h"

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <utility>

namespace brightsum {

class FileLock;

// "hiscore.dat": where it lives, and when it is read and written.
//
// The place is chosen once, when the object is made, and the whole run reads and writes
// that one file: the program folder when it can be written and the file there is absent or
// writable; otherwise the user's data folder, seeded from the program folder's copy.
//
// Several copies of the game may share the file. Every read-modify-write of it (the load at
// start-up with its rewrite, a save) holds an exclusive lock on "hiscore.lock" beside it, and a
// new high score is placed into the table as the file holds it at that moment, so that no copy
// undoes another's entries. Nothing is ever written without the lock: where it cannot be had
// (something else in the lock file's place, a file system without locks), writing fails as
// when another copy keeps the lock too long.
class HighScoreFile {
public:
    static constexpr const char* kFileName = "hiscore.dat";
    static constexpr const char* kBadFileName = "hiscore.bad";
    // Empty; only ever locked. Created beside the file and never removed.
    static constexpr const char* kLockFileName = "hiscore.lock";
    // Saves write a temporary file named this prefix plus six characters beside the file,
    // then rename it; one left behind by a killed program is removed by the next save.
    static constexpr const char* kTempPrefix = ".hiscore.dat.";
    // The most of a damaged file that "hiscore.bad" holds when the file has to be copied.
    static constexpr std::size_t kBadCopyLimit = std::size_t{1} << 20;
    // How long a save or a load waits for another copy of the game to release the lock.
    static constexpr std::chrono::milliseconds kLockTimeout{3000};

    enum class Place {
        ProgramFolder,
        DataFolder,
    };

    using SaveHooks = AtomicFileWriter::Hooks;

    HighScoreFile(std::filesystem::path programFolder, std::filesystem::path dataFolder);

    const std::filesystem::path& path() const { return m_path; }

    // Which folder the file went to. The program folder is also chosen, for reading only,
    // when neither folder can be written but the program folder has a readable file.
    Place place() const { return m_place; }

    void setSaveHooks(SaveHooks hooks) { m_writer.setHooks(std::move(hooks)); }
    void setLockTimeout(std::chrono::milliseconds timeout) { m_lockTimeout = timeout; }

    // Reads all thirty fields into the table, or leaves the table untouched and fails.
    bool ReadHighScoreFile(HighScoreTable& table) const;

    // Replaces the file atomically with the table. Fails, leaving the old file whole, when
    // a number does not convert, the file cannot be written or the lock cannot be had in time.
    bool SaveHighScores(const HighScoreTable& table) const;

    // Saves high scores that the caller has already placed into its table: re-reads the file
    // under the lock, places each entry, in order, into the table the file holds now (sort,
    // find the slot, insert) and saves that. When the file is missing or damaged, saves the
    // caller's table as it is, a damaged file only once it is safe as "hiscore.bad". The
    // caller's table ends as the table saved, or as it was when nothing could be saved.
    bool SaveNewHighScores(HighScoreTable& table, std::span<const NewHighScore> entries) const;

    // Reads and rewrites the file, leaving it alone when the rewrite would give the same
    // bytes; an unreadable file is kept as "hiscore.bad" and replaced by the default table.
    // False when nothing could be written at all (the table in memory is still set: to what
    // was read when the file was good, else to the default table).
    bool LoadHighScores(HighScoreTable& table) const;

private:
    enum class ReadResult {
        Read,
        Missing,
        Unreadable,
    };
    enum class SaveResult {
        Saved,
        BadNumber,
        WriteFailed,
    };

    // `bytes`, when given, receives the whole file, or stays empty when it was read in part.
    ReadResult read(HighScoreTable& table, std::string* bytes = nullptr) const;
    // Writes nothing when `current` holds the bytes the table would be written as.
    SaveResult save(const HighScoreTable& table, const std::string* current = nullptr) const;
    bool keepBadCopy() const;
    bool copyBad(const std::filesystem::path& bad) const;
    void seedFrom(const std::filesystem::path& source);
    FileLock lock() const;

    std::filesystem::path m_path;
    Place m_place = Place::ProgramFolder;
    AtomicFileWriter m_writer{kTempPrefix};
    std::chrono::milliseconds m_lockTimeout = kLockTimeout;
};

}  // namespace brightsum
