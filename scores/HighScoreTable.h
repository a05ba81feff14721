// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>

namespace brightsum {

// The ten best games. Entry n (1 to 10) lives at index n - 1 of the three parallel columns.
// Every field is text, exactly as it was read, defaulted or computed: " 1000" from the file,
// "1000" from the defaults, plain digits for an entry that was moved or placed.
class HighScoreTable {
public:
    static constexpr int kEntries = 10;
    // The longest field "hiscore.dat" holds, in bytes; a longer name is cut when placed.
    static constexpr std::size_t kMaxNameBytes = 4096;

    std::array<std::string, kEntries> HighScores;
    std::array<std::string, kEntries> HighNames;
    std::array<std::string, kEntries> HighLevels;

    static HighScoreTable DefaultHighScores();

    // Exchange sort, highest score first; see the .cpp for why it is not stable.
    void SortHighScores();

    // The entry number (1 to 10) where a final score belongs: the first entry it beats
    // strictly. Nothing when it does not beat entry 10.
    std::optional<int> FindHighScoreSlot(double points) const;

    // Moves entries slot..9 down one place (entry 10 drops out) and places the new entry.
    // The name is made safe for the file as it is placed: each double quote becomes an
    // apostrophe, each control character a blank and each invalid UTF-8 sequence U+FFFD,
    // and a name longer than the file can hold is cut at a character boundary.
    void InsertHighScore(int slot, const std::string& name, double points, double level);

    bool operator==(const HighScoreTable&) const = default;
};

}  // namespace brightsum
