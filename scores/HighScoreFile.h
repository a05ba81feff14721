#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "HighScoreTable.h"

namespace brightsum {

// "hiscore.dat": where it lives, how it is read and how it is written.
//
// The place is chosen once, when the object is made, and the whole run reads and writes
// that one file: the program folder when it can be written and the file there is absent or
// writable; otherwise the user's data folder, seeded from the program folder's copy.
class HighScoreFile {
public:
    static constexpr const char* kFileName = "hiscore.dat";
    static constexpr const char* kBadFileName = "hiscore.bad";
    // Saves write a temporary file named this prefix plus six characters beside the file,
    // then rename it; one left behind by a killed program is removed by the next save.
    static constexpr const char* kTempPrefix = ".hiscore.dat.";

    enum class Place {
        ProgramFolder,
        DataFolder,
    };

    // Stand-ins for steps of a save, so that tests can make the disk fill up or the program
    // die at a chosen moment. Unset members do the real thing.
    struct SaveHooks {
        std::function<long(int fd, const void* data, std::size_t size)> write;
        std::function<void()> beforeRename;
    };

    HighScoreFile(std::filesystem::path programFolder, std::filesystem::path dataFolder);

    const std::filesystem::path& path() const { return m_path; }

    // Which folder the file went to. The program folder is also chosen, for reading only,
    // when neither folder can be written but the program folder has a readable file.
    Place place() const { return m_place; }

    void setSaveHooks(SaveHooks hooks) { m_hooks = std::move(hooks); }

    // Reads all thirty fields into the table, or leaves the table untouched and fails.
    bool ReadHighScoreFile(HighScoreTable& table) const;

    // Replaces the file atomically with the table. Fails, leaving the old file whole, when
    // a number does not convert or the file cannot be written.
    bool SaveHighScores(const HighScoreTable& table) const;

    // Reads and rewrites the file; an unreadable file is kept as "hiscore.bad" and replaced by
    // the default table. False when nothing could be written at all (the table in memory is
    // still set: to what was read when the file was good, else to the default table).
    bool LoadHighScores(HighScoreTable& table) const;

    // The file format on its own, for tests and the fuzzer.
    static std::optional<HighScoreTable> parse(std::string_view bytes);
    static std::optional<std::string> serialise(const HighScoreTable& table);

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

    ReadResult read(HighScoreTable& table) const;
    SaveResult save(const HighScoreTable& table) const;
    bool keepBadCopy() const;
    bool writeAtomically(const std::filesystem::path& target,
                         const std::function<bool(int fd)>& fill) const;
    bool writeAll(int fd, const char* data, std::size_t size) const;
    void seedFrom(const std::filesystem::path& source);

    std::filesystem::path m_path;
    Place m_place = Place::ProgramFolder;
    SaveHooks m_hooks;
};

}  // namespace brightsum
