#pragma once

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

    HighScoreFile(std::filesystem::path programFolder, std::filesystem::path dataFolder);

    const std::filesystem::path& path() const { return m_path; }

    // Reads all thirty fields into the table, or leaves the table untouched and fails.
    bool ReadHighScoreFile(HighScoreTable& table) const;

    // Replaces the file atomically with the table. Fails, leaving the old file whole, when
    // a number does not convert or the file cannot be written.
    bool SaveHighScores(const HighScoreTable& table) const;

    // Reads and rewrites the file; an unreadable file is kept as "hiscore.bad" and replaced by
    // the default table. False when nothing could be written at all (the table in memory is
    // still set).
    bool LoadHighScores(HighScoreTable& table) const;

    // The file format on its own, for tests and the fuzzer.
    static std::optional<HighScoreTable> parse(std::string_view bytes);
    static std::optional<std::string> serialise(const HighScoreTable& table);

private:
    std::filesystem::path m_path;
};

}  // namespace brightsum
