// SPDX-License-Identifier: GPL-3.0-or-later
#include "HighScoreTable.h"

#include "Numbers.h"
#include "TextEncoding.h"

#include <utility>

namespace brightsum {

namespace {

// What the file can hold and read back exactly: no double quote (it would end the field), no
// control characters, valid UTF-8, and no longer than a field of the file may be.
std::string safeName(const std::string& name) {
    std::string safe = RepairUtf8(name);
    for (char& c : safe) {
        if (c == '"') {
            c = '\'';
        } else if (static_cast<unsigned char>(c) < 32) {
            c = ' ';
        }
    }
    if (safe.size() > HighScoreTable::kMaxNameBytes) {
        std::size_t cut = HighScoreTable::kMaxNameBytes;
        while (cut > 0 && (static_cast<unsigned char>(safe[cut]) & 0xC0) == 0x80) {
            --cut;  // never split a character
        }
        safe.resize(cut);
    }
    return safe;
}

std::string plain(const std::string& text) {
    return PlainText(TextValue(text));
}

}  // namespace

HighScoreTable HighScoreTable::DefaultHighScores() {
    static constexpr const char* kScores[kEntries] = {"1000", "900", "700", "600", "500",
                                                      "400",  "300", "200", "100", "100"};
    static constexpr const char* kNames[kEntries] = {"Quill",  "Brindle", "Sorrel",  "Juniper",
                                                     "Fennel", "Clover",  "Bramble", "Tansy",
                                                     "Yarrow", "Rowan"};
    // Built by construction rather than assignment from char pointers: g++ 12 at -O3 warns
    // falsely (-Wrestrict) about the inlined assignment.
    HighScoreTable table;
    for (int i = 0; i < kEntries; ++i) {
        table.HighScores[i] = std::string(kScores[i]);
        table.HighNames[i] = std::string(kNames[i]);
        table.HighLevels[i] = std::string("1");
    }
    return table;
}

// A plain exchange sort rather than std::stable_sort: exchanging a higher score upwards may
// reorder equal scores below it, and the table the player sees depends on that order.
void HighScoreTable::SortHighScores() {
    for (int i = 0; i < kEntries; ++i) {
        for (int j = i; j < kEntries; ++j) {
            if (TextValue(HighScores[j]) > TextValue(HighScores[i])) {
                const std::string scoreI = plain(HighScores[i]);
                const std::string levelI = plain(HighLevels[i]);
                HighScores[i] = plain(HighScores[j]);
                HighLevels[i] = plain(HighLevels[j]);
                HighScores[j] = scoreI;
                HighLevels[j] = levelI;
                std::swap(HighNames[i], HighNames[j]);
            }
        }
    }
}

std::optional<int> HighScoreTable::FindHighScoreSlot(double points) const {
    for (int i = 0; i < kEntries; ++i) {
        if (points > TextValue(HighScores[i])) {
            return i + 1;
        }
    }
    return std::nullopt;
}

void HighScoreTable::InsertHighScore(int slot, const std::string& name, double points,
                                     double level) {
    if (slot < 1 || slot > kEntries) {
        return;
    }
    for (int k = kEntries - 1; k >= slot; --k) {
        HighScores[k] = plain(HighScores[k - 1]);
        HighNames[k] = HighNames[k - 1];
        HighLevels[k] = plain(HighLevels[k - 1]);
    }
    HighScores[slot - 1] = PlainText(points);
    HighNames[slot - 1] = safeName(name);
    HighLevels[slot - 1] = PlainText(level);
}

}  // namespace brightsum
